#include "xbase/cdx.h"

namespace kardo::xbase {

struct CdxIndex::Impl {
  std::string tag, expression;
  char type = 'C';
  int length = 0;
  std::unique_ptr<File> file;
};

namespace {
Status not_yet() { return Status(base::Code::INVALID, "index files are not built yet"); }
}  // namespace

CdxIndex::CdxIndex(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
CdxIndex::~CdxIndex() = default;
Result<std::unique_ptr<CdxIndex>> CdxIndex::open(Env&, const std::string&, bool) { return not_yet(); }
Result<std::unique_ptr<CdxIndex>> CdxIndex::open(Env&, const std::string&, bool, const std::vector<FieldInfo>&) {
  return not_yet();
}
Result<std::unique_ptr<CdxIndex>> CdxIndex::create(Env&, const std::string&, const std::string&, const KeyExpr&,
                                                   std::vector<IndexEntry>) {
  return not_yet();
}
const std::string& CdxIndex::tag() const { return impl_->tag; }
const std::string& CdxIndex::expression() const { return impl_->expression; }
char CdxIndex::key_type() const { return impl_->type; }
int CdxIndex::key_length() const { return impl_->length; }
Status CdxIndex::insert(const IndexEntry&) { return not_yet(); }
Status CdxIndex::remove(const IndexEntry&) { return not_yet(); }
Result<std::optional<IndexEntry>> CdxIndex::first() { return not_yet(); }
Result<std::optional<IndexEntry>> CdxIndex::last() { return not_yet(); }
Result<std::optional<IndexEntry>> CdxIndex::seek(std::string_view) { return not_yet(); }
Result<std::optional<IndexEntry>> CdxIndex::next(const IndexEntry&) { return not_yet(); }
Result<std::optional<IndexEntry>> CdxIndex::prev(const IndexEntry&) { return not_yet(); }
Status CdxIndex::refresh() { return not_yet(); }
Status CdxIndex::flush() { return not_yet(); }
File& CdxIndex::file() { return *impl_->file; }

}  // namespace kardo::xbase

#include "shell/batch_init.h"

#include <filesystem>
#include <ostream>
#include <set>

#include "store/install.h"

namespace kardo::shell {
namespace {

std::set<std::string> files_in(const std::string& folder) {
  std::set<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec))
    if (e.is_regular_file(ec)) names.insert(e.path().filename().string());
  return names;
}

}  // namespace

int run_init(BatchContext& ctx) {
  for (const auto& [name, value] : ctx.options.extra)
    if (name != "tables") {
      ctx.err << "kardo --batch init: unknown option --" << name << "\n";
      return BATCH_CANNOT_RUN;
    }
  auto it = ctx.options.extra.find("tables");
  const std::string source = it != ctx.options.extra.end() ? it->second : KARDO_REFERENCE_DATA;
  store::Session& s = ctx.session;
  const std::set<std::string> data_before = files_in(s.folders.ARQDEF);
  const std::set<std::string> decl_before = files_in(s.folders.LOCARQ);

  store::InstallReport report = store::prepare_data_folder(s, source);

  auto list_new = [&](const std::string& folder, const std::set<std::string>& before) {
    for (const std::string& name : files_in(folder))
      if (!before.count(name)) ctx.out << "created " << folder << name << "\n";
  };
  list_new(s.folders.ARQDEF, data_before);
  if (s.folders.LOCARQ != s.folders.ARQDEF) list_new(s.folders.LOCARQ, decl_before);
  for (const base::Status& f : report.failures) ctx.err << "error: " << f.message() << "\n";
  return report.ok() ? BATCH_OK : BATCH_SOME_FAILED;
}

}  // namespace kardo::shell

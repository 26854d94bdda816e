#include "xbase/keyexpr.h"

namespace kardo::xbase {

struct KeyExpr::Node {};

Result<KeyExpr> KeyExpr::compile(std::string_view, const std::vector<FieldInfo>&) {
  return Status(base::Code::INVALID, "key expressions are not built yet");
}
const std::string& KeyExpr::expression() const { return expression_; }
char KeyExpr::type() const { return type_; }
int KeyExpr::length() const { return length_; }
std::string KeyExpr::key(const char*) const { return std::string(size_t(length_), ' '); }
std::string number_key(base::Decimal) { return std::string(8, '\0'); }
std::string date_key(base::Date) { return std::string(8, '\0'); }
std::string double_key(double) { return std::string(8, '\0'); }
double key_double(std::string_view) { return 0; }

}  // namespace kardo::xbase

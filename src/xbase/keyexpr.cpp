// Index key expressions.
//
// Grammar (names are case-insensitive, blanks are free):
//   expr  := term ('+' term)*            '+' joins character values
//   term  := NAME | NAME '(' expr {',' expr} ')' | '(' expr ')' | NUMBER | 'text' | "text"
// Functions: STR(n[,w[,d]]) STRZERO(n,w[,d]) DTOS(d) DTOC(d) UPPER(c) SUBSTR(c,s[,l]) LEFT(c,l)
// RIGHT(c,l), and YEAR(d) MONTH(d) DAY(d) (numbers). Every character key has a fixed width known
// at compile time, because a CDX tag has one key length; an expression that is a single number
// (an N field, MONTH(…)) or a D field gives the 8-byte numeric or date key. Functions of variable
// width (TRIM, ALLTRIM) are refused.
#include "xbase/keyexpr.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "base/xtext.h"

namespace kardo::xbase {

using base::Code;
using base::Decimal;

enum class Op { FIELD, LITERAL, CONCAT, STR, STRZERO, DTOS, DTOC, UPPER, SUBSTR, RIGHT, YEAR, MONTH, DAY };

struct KeyExpr::Node {
  Op op = Op::FIELD;
  char type = 'C';       // C, N, D or L
  int width = 0;         // bytes of a C (or L) value; the field's width for N and D
  size_t offset = 0;     // FIELD: offset in the record
  int decimals = 0;      // FIELD N: decimals; STR/STRZERO: decimals asked
  int arg1 = 0, arg2 = 0;  // STR/STRZERO: width; SUBSTR: start (1-based), count; RIGHT: count
  std::string text;      // LITERAL
  std::vector<Node> kids;
};

namespace {

using Node = KeyExpr::Node;

Status invalid(std::string_view expression, const std::string& what) {
  return Status(Code::INVALID, "index key \"" + std::string(expression) + "\": " + what);
}

class Parser {
 public:
  Parser(std::string_view s, const std::vector<FieldInfo>& fields) : s_(s), fields_(fields) {}

  Result<Node> parse() {
    Result<Node> n = expr();
    if (!n) return n;
    skip();
    if (p_ < s_.size()) return fail("unexpected \"" + std::string(s_.substr(p_)) + "\"");
    return n;
  }

 private:
  std::string_view s_;
  const std::vector<FieldInfo>& fields_;
  size_t p_ = 0;

  Status fail(const std::string& what) { return invalid(s_, what); }
  void skip() {
    while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\t')) ++p_;
  }
  bool eat(char c) {
    skip();
    if (p_ < s_.size() && s_[p_] == c) {
      ++p_;
      return true;
    }
    return false;
  }

  Result<Node> expr() {
    Result<Node> first = term();
    if (!first) return first;
    if (!eat('+')) return first;
    Node cat;
    cat.op = Op::CONCAT;
    cat.type = 'C';
    cat.kids.push_back(std::move(*first));
    do {
      Result<Node> t = term();
      if (!t) return t;
      cat.kids.push_back(std::move(*t));
    } while (eat('+'));
    for (const Node& k : cat.kids) {
      if (k.type != 'C')
        return fail("'+' joins only character values (use STR or DTOS for numbers and dates)");
      cat.width += k.width;
    }
    return cat;
  }

  Result<Node> term() {
    skip();
    if (p_ >= s_.size()) return fail("value missing at the end");
    char c = s_[p_];
    if (c == '(') {
      ++p_;
      Result<Node> inner = expr();
      if (!inner) return inner;
      if (!eat(')')) return fail("')' missing");
      return inner;
    }
    if (c == '"' || c == '\'') {
      size_t end = s_.find(c, p_ + 1);
      if (end == std::string_view::npos) return fail("text without its closing quote");
      Node lit;
      lit.op = Op::LITERAL;
      lit.text = std::string(s_.substr(p_ + 1, end - p_ - 1));
      lit.width = int(lit.text.size());
      p_ = end + 1;
      return lit;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '-') {
      size_t start = p_++;
      while (p_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[p_]))) ++p_;
      Node lit;
      lit.op = Op::LITERAL;
      lit.type = 'N';
      lit.text = std::string(s_.substr(start, p_ - start));
      if (lit.text == "-") return fail("number expected after '-'");
      return lit;
    }
    if (!(std::isalpha(static_cast<unsigned char>(c)) || c == '_')) return fail(std::string("unexpected '") + c + "'");
    size_t start = p_;
    while (p_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[p_])) || s_[p_] == '_')) ++p_;
    std::string name(s_.substr(start, p_ - start));
    for (char& ch : name) ch = char(std::toupper(static_cast<unsigned char>(ch)));
    if (eat('(')) return call(name);
    return field(name);
  }

  Result<Node> field(const std::string& name) {
    for (const FieldInfo& f : fields_) {
      if (f.name.size() != name.size()) continue;
      bool same = true;
      for (size_t i = 0; i < name.size() && same; ++i)
        same = std::toupper(static_cast<unsigned char>(f.name[i])) == static_cast<unsigned char>(name[i]);
      if (!same) continue;
      if (f.type == 'M') return fail("the memo field " + name + " cannot be part of a key");
      Node n;
      n.op = Op::FIELD;
      n.type = f.type == 'N' || f.type == 'F' ? 'N' : f.type == 'D' ? 'D' : 'C';
      n.width = f.width;
      n.decimals = f.decimals;
      n.offset = f.offset;
      return n;
    }
    return fail("unknown field " + name);
  }

  // The integer value of a literal argument.
  Result<int> number(const Node& n, const std::string& fn) {
    if (n.op != Op::LITERAL || n.type != 'N') return fail(fn + ": a whole number is expected");
    if (n.text.size() > 4) return fail(fn + ": number out of range");
    return std::atoi(n.text.c_str());
  }

  Result<Node> call(const std::string& fn) {
    std::vector<Node> args;
    if (!eat(')')) {
      do {
        Result<Node> a = expr();
        if (!a) return a;
        args.push_back(std::move(*a));
      } while (eat(','));
      if (!eat(')')) return fail(fn + ": ')' missing");
    }
    auto count = [&](size_t lo, size_t hi) { return args.size() >= lo && args.size() <= hi; };
    auto want = [&](size_t i, char type, const char* what) -> Status {
      if (args[i].type != type || (args[i].op == Op::LITERAL && type != 'C'))
        return fail(fn + ": " + what + " expected");
      return Status();
    };
    Node n;
    n.type = 'C';
    if (fn == "STR" || fn == "STRZERO") {
      if (!(fn == "STR" ? count(1, 3) : count(2, 3))) return fail(fn + ": wrong number of arguments");
      if (Status s = want(0, 'N', "a number"); !s) return s;
      n.op = fn == "STR" ? Op::STR : Op::STRZERO;
      n.arg1 = 10;
      if (args.size() > 1) {
        Result<int> w = number(args[1], fn);
        if (!w) return w.status();
        n.arg1 = *w;
      }
      if (args.size() > 2) {
        Result<int> d = number(args[2], fn);
        if (!d) return d.status();
        n.decimals = *d;
      }
      if (n.arg1 < 1 || n.arg1 > 40 || n.decimals < 0 || n.decimals > 10) return fail(fn + ": width out of range");
      n.width = n.arg1;
    } else if (fn == "DTOS" || fn == "DTOC") {
      if (!count(1, 1)) return fail(fn + ": one date expected");
      if (Status s = want(0, 'D', "a date"); !s) return s;
      n.op = fn == "DTOS" ? Op::DTOS : Op::DTOC;
      n.width = fn == "DTOS" ? 8 : 10;
    } else if (fn == "YEAR" || fn == "MONTH" || fn == "DAY") {
      if (!count(1, 1)) return fail(fn + ": one date expected");
      if (Status s = want(0, 'D', "a date"); !s) return s;
      n.op = fn == "YEAR" ? Op::YEAR : fn == "MONTH" ? Op::MONTH : Op::DAY;
      n.type = 'N';
      n.width = fn == "YEAR" ? 4 : 2;
    } else if (fn == "UPPER") {
      if (!count(1, 1)) return fail(fn + ": one text expected");
      if (Status s = want(0, 'C', "a text"); !s) return s;
      n.op = Op::UPPER;
      n.width = args[0].width;
    } else if (fn == "SUBSTR" || fn == "LEFT" || fn == "RIGHT") {
      if (!(fn == "SUBSTR" ? count(2, 3) : count(2, 2))) return fail(fn + ": wrong number of arguments");
      if (Status s = want(0, 'C', "a text"); !s) return s;
      Result<int> a = number(args[1], fn);
      if (!a) return a.status();
      int w = args[0].width;
      if (fn == "RIGHT") {
        n.op = Op::RIGHT;
        n.arg1 = std::max(0, std::min(*a, w));
        n.width = n.arg1;
      } else {
        n.op = Op::SUBSTR;
        int start = fn == "LEFT" ? 1 : std::max(1, *a);
        int len = fn == "LEFT" ? *a : w - start + 1;
        if (args.size() > 2) {
          Result<int> l = number(args[2], fn);
          if (!l) return l.status();
          len = *l;
        }
        n.arg1 = start;
        n.arg2 = std::max(0, len);
        n.width = n.arg2;
      }
    } else {
      return fail("unknown function " + fn + "()");
    }
    n.kids = std::move(args);
    n.kids.resize(1);
    return n;
  }
};

// The bytes of a field.
inline std::string_view raw(const Node& f, const char* rec) { return std::string_view(rec + f.offset, size_t(f.width)); }

// YEAR, MONTH or DAY of a date field; 0 for an empty or impossible date.
int date_part(const Node& n, const char* rec) {
  std::optional<base::Date> d = base::Date::from_dtos(std::string_view(rec + n.kids[0].offset, 8));
  if (!d || d->empty()) return 0;
  return n.op == Op::YEAR ? d->year() : n.op == Op::MONTH ? int(d->month()) : int(d->day());
}

Decimal number_of(const Node& f, const char* rec) {
  if (f.op != Op::FIELD) return Decimal(date_part(f, rec));
  std::optional<Decimal> d = Decimal::parse(raw(f, rec));
  return d ? *d : Decimal();
}

// Appends exactly n.width bytes.
void eval(const Node& n, const char* rec, std::string& out) {
  switch (n.op) {
    case Op::FIELD:
      out.append(rec + n.offset, size_t(n.width));
      break;
    case Op::YEAR:
    case Op::MONTH:
    case Op::DAY:  // numbers are never part of a character key (the parser sees to that)
      break;
    case Op::LITERAL:
      out += n.text;
      break;
    case Op::CONCAT:
      for (const Node& k : n.kids) eval(k, rec, out);
      break;
    case Op::STR:
      out += base::STR(number_of(n.kids[0], rec), n.arg1, n.decimals);
      break;
    case Op::STRZERO:
      out += base::STRZERO(number_of(n.kids[0], rec), n.arg1, n.decimals);
      break;
    case Op::DTOS:
      out.append(rec + n.kids[0].offset, 8);
      break;
    case Op::DTOC: {
      const char* d = rec + n.kids[0].offset;
      if (base::is_blank(std::string_view(d, 8))) {
        out += "  /  /    ";
      } else {
        out.append(d + 6, 2);
        out += '/';
        out.append(d + 4, 2);
        out += '/';
        out.append(d, 4);
      }
      break;
    }
    case Op::UPPER: {
      size_t at = out.size();
      eval(n.kids[0], rec, out);
      for (size_t i = at; i < out.size(); ++i)
        if (out[i] >= 'a' && out[i] <= 'z') out[i] = char(out[i] - 'a' + 'A');
      break;
    }
    case Op::SUBSTR: {
      std::string inner;
      eval(n.kids[0], rec, inner);
      size_t start = size_t(n.arg1 - 1);
      size_t at = out.size();
      if (start < inner.size()) out.append(inner, start, size_t(n.arg2));
      out.resize(at + size_t(n.width), ' ');
      break;
    }
    case Op::RIGHT: {
      std::string inner;
      eval(n.kids[0], rec, inner);
      out.append(inner, inner.size() - size_t(n.arg1), size_t(n.arg1));
      break;
    }
  }
}

// Julian day number of a "yyyymmdd" text; 0 for an empty or impossible date.
double julian_of(std::string_view dtos) {
  std::optional<base::Date> d = base::Date::from_dtos(dtos);
  if (!d || d->empty()) return 0;
  return double(d->days().time_since_epoch().count()) + 2440588.0;
}

// A number's text as the double that the text denotes (correctly rounded, as other engines
// compute their keys); blank is 0.
double double_of(std::string_view text) {
  char buf[64];
  size_t n = std::min(text.size(), sizeof buf - 1);
  std::memcpy(buf, text.data(), n);
  buf[n] = 0;
  char* end = nullptr;
  double v = std::strtod(buf, &end);
  return end == buf ? 0.0 : v;
}

}  // namespace

Result<KeyExpr> KeyExpr::compile(std::string_view expression, const std::vector<FieldInfo>& fields) {
  Parser parser(expression, fields);
  Result<Node> root = parser.parse();
  if (!root) return root.status();
  KeyExpr k;
  k.expression_ = std::string(expression);
  switch (root->type) {
    case 'N':
    case 'D':
      if (root->op == Op::LITERAL) return invalid(expression, "a constant is not a key");
      k.type_ = root->type;
      k.length_ = 8;
      break;
    default:
      // A CDX key holds at most 240 bytes: longer values (the 512-character descriptions of
      // the asset library) are ordered by their first 240.
      k.type_ = 'C';
      k.length_ = std::min(root->width, 240);
      if (k.length_ < 1) return invalid(expression, "key of no bytes");
  }
  k.root_ = std::make_shared<const Node>(std::move(*root));
  return k;
}

const std::string& KeyExpr::expression() const { return expression_; }
char KeyExpr::type() const { return type_; }
int KeyExpr::length() const { return length_; }

std::string KeyExpr::key(const char* record) const {
  if (!root_) return std::string(size_t(length_), ' ');
  if (type_ == 'N')
    return double_key(root_->op == Op::FIELD ? double_of(raw(*root_, record)) : double(date_part(*root_, record)));
  if (type_ == 'D') return double_key(julian_of(raw(*root_, record)));
  std::string out;
  out.reserve(size_t(length_));
  eval(*root_, record, out);
  out.resize(size_t(length_));
  return out;
}

// IEEE double, big-endian, made to sort as unsigned bytes: positive values (and +0) get the
// sign bit set, negative values have every bit inverted.
std::string double_key(double value) {
  if (value == 0) value = 0;  // -0 sorts as 0
  uint64_t bits;
  std::memcpy(&bits, &value, 8);
  bits = (bits >> 63) ? ~bits : bits | (uint64_t(1) << 63);
  std::string out(8, '\0');
  for (int i = 0; i < 8; ++i) out[size_t(i)] = char(bits >> (56 - 8 * i));
  return out;
}

double key_double(std::string_view key8) {
  if (key8.size() < 8) return 0;
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits = bits << 8 | static_cast<unsigned char>(key8[size_t(i)]);
  bits = (bits >> 63) ? bits & ~(uint64_t(1) << 63) : ~bits;
  double v;
  std::memcpy(&v, &bits, 8);
  return v;
}

std::string number_key(Decimal value) { return double_key(double_of(value.text(Decimal::kPlaces))); }

std::string date_key(base::Date value) { return double_key(julian_of(value.DTOS())); }

}  // namespace kardo::xbase

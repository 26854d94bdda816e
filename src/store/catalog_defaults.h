// Default values of the settings tables: what a new terminal's CONFIG, CORES and ListaIMP
// records, the one DEFINE record and the first row of an empty DIRET<tt> start with.
//
// The defaults are data: a list per table of (field, source, text). make_record() turns a list
// into a typed record for the store to append. Fields not listed start blank, zero, empty or
// false. Text is cut to the field's width, as the table would store it.
//
// Folders are Linux paths. Where the settings name a Windows folder the equivalent under the
// operator's home is used: the previous year's installation "C:\Kardo18" is ~/Kardo18, and
// the tax authority's program keeps its files under ~/ProgramasRFB/IRPF20yy/.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "base/date.h"
#include "base/decimal.h"
#include "store/catalog_records.h"

namespace kardo::store {

// What the defaults of a new record depend on.
struct SettingsContext {
  std::string_view terminal;         // two digits
  std::string_view data_folder;      // ARQDEF, with or without the final "/"
  std::string_view startup_folder;   // value of the data-folder environment setting
  std::string_view home;             // the operator's home folder
  std::string_view default_printer;  // the system's default printer
  base::Date today;
};

enum class DefaultFrom {
  Text,           // the text as the table stores it: "S", "1", "3.2585", "20190430"
  Terminal,       // the terminal number
  DataFolder,     // the data folder without the final "/"
  StartupFolder,  // the data-folder environment setting
  Home,           // the home folder + "/" + text
  Printer,        // the system's default printer
  Today,          // the session's date
};

struct FieldDefault {
  std::string_view field;
  DefaultFrom from;
  std::string_view text = {};
};

extern const std::span<const FieldDefault> kConfigDefaults;
extern const std::span<const FieldDefault> kDefineDefaults;
extern const std::span<const FieldDefault> kCoresDefaults;
extern const std::span<const FieldDefault> kListaimpDefaults;
extern const std::span<const FieldDefault> kDiretFirstRow;

// The text a default gives in this context (before conversion to the field's type).
std::string default_text(const FieldDefault& d, const SettingsContext& ctx);

namespace detail {
bool iequal(std::string_view a, std::string_view b);
void assign(std::string& out, std::string_view text, int width);
void assign(base::Decimal& out, std::string_view text, int width);
void assign(base::Date& out, std::string_view text, int width);
void assign(bool& out, std::string_view text, int width);
}  // namespace detail

// A record of table R holding the defaults of the list.
template <class R>
R make_record(std::span<const FieldDefault> defaults, const SettingsContext& ctx) {
  R r;
  r.visit([&](std::string_view name, auto index, auto& member) {
    for (const FieldDefault& d : defaults)
      if (detail::iequal(d.field, name)) {
        detail::assign(member, default_text(d, ctx), R::fields()[index].width);
        break;
      }
  });
  return r;
}

inline config::Record default_config(const SettingsContext& ctx) {
  return make_record<config::Record>(kConfigDefaults, ctx);
}
inline define::Record default_define(const SettingsContext& ctx) {
  return make_record<define::Record>(kDefineDefaults, ctx);
}
inline cores::Record default_cores(const SettingsContext& ctx) {
  return make_record<cores::Record>(kCoresDefaults, ctx);
}
inline listaimp::Record default_listaimp(const SettingsContext& ctx) {
  return make_record<listaimp::Record>(kListaimpDefaults, ctx);
}
inline diret::Record first_diret_row(const SettingsContext& ctx) {
  return make_record<diret::Record>(kDiretFirstRow, ctx);
}

}  // namespace kardo::store

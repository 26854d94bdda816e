#include "store/catalog_defaults.h"

#include <algorithm>
#include <cctype>

namespace kardo::store {
namespace {

using D = DefaultFrom;

// The previous year's installation and the tax authority's program of both years.
constexpr std::string_view kLastYearInstall = "Kardo18";
constexpr std::string_view kLastYearSent = "ProgramasRFB/IRPF2018/transmitidas";
constexpr std::string_view kThisYearData = "ProgramasRFB/IRPF2019/aplicacao/dados";

constexpr FieldDefault kConfig[] = {
    {"NRO_TERM", D::Terminal},
    {"ROTAANTER", D::Home, kLastYearInstall},
    {"ROTADOANO", D::DataFolder},
    {"ROTAREANT", D::Home, kLastYearSent},
    {"ROTARECEI", D::Home, kThisYearData},
    {"ROTAJAVA", D::Home, kThisYearData},
    {"dirtrab", D::DataFolder},
    {"DIRPROV", D::StartupFolder},
    {"DIRINST", D::Home, kLastYearInstall},
    {"queimp", D::Text, "1"},
    {"quemod", D::Text, "1"},
    {"quepag", D::Text, "1"},
    {"quecon", D::Text, "1"},
    {"ENV_STAT", D::Text, "2"},
    {"MARESQ", D::Text, "0"},
    {"INIFOL", D::Text, "0"},
    {"LINETI", D::Text, "6"},
    {"NRO_LIN", D::Text, "60"},
    {"OPC_TRAN", D::Text, "7"},
    {"compaga", D::Text, "1"},
    {"ImpBem", D::Text, "1"},
    {"ImpBal", D::Text, "1"},
    {"mosimp", D::Text, "S"},
    {"mostel", D::Text, "S"},
    {"ult_ter", D::Text, "0"},
    {"ult_mod", D::Text, "1"},
    {"XDRIVE", D::Text, "C"},
    {"SOESTE", D::Text, "9"},
    {"OPTTRAN", D::Text, "0"},
    {"ULTBACK", D::Today},
    {"OPCIRPF", D::Text, "J"},
    {"OPCFIM", D::Text, "0"},
};

// Quota due dates: the last business day of April ... November of the filing year.
constexpr FieldDefault kDefine[] = {
    {"VCTO1", D::Text, "20190430"},
    {"VCTO2", D::Text, "20190531"},
    {"VCTO3", D::Text, "20190628"},
    {"VCTO4", D::Text, "20190731"},
    {"VCTO5", D::Text, "20190830"},
    {"VCTO6", D::Text, "20190930"},
    {"VCTO7", D::Text, "20191031"},
    {"VCTO8", D::Text, "20191129"},
    {"VAL_SEG", D::Text, "4.00"},
    {"VAL_BYTE", D::Text, "3.00"},
    {"VAL_MIN", D::Text, "120"},
    {"COMO_SAL", D::Text, "2"},
    {"TEMP_SAL", D::Text, "15"},
    {"TEMP_DES", D::Text, "4"},
    {"VAL_CPMF", D::Text, "0.0000"},
    {"VAL_DOLAR", D::Text, "3.2585"},
    {"PROCESSA", D::Text, "N"},
    {"PROGCOMP", D::Text, "S"},
};

constexpr FieldDefault kCores[] = {
    {"NRO_TERM", D::Terminal},
    {"COR_TEL1", D::Text, "30"},
    {"COR_TEL2", D::Text, "31"},
    {"COR_TEL3", D::Text, "63"},
    {"COR_MENS", D::Text, "112"},
    {"COR_PEGA", D::Text, "15"},
    {"COR_HELP", D::Text, "112"},
    {"COR_FERID", D::Text, "28"},
    {"COR_ESCOL", D::Text, "79"},
    {"COR_ENCHE", D::Text, "31"},
    {"COR_1_CLI", D::Text, "GR+/B"},
    {"COR_2_CLI", D::Text, "W+/B"},
    {"COR_INI", D::Text, "W+/B"},
    {"COR_SAY", D::Text, "N/W+"},
    {"COR_GET", D::Text, "W/N"},
    {"COR_CLI_HE", D::Text, "N/W"},
    {"COR_ESC_CL", D::Text, "W/R+"},
    {"COR_ENCH_C", D::Text, "W+/B"},
};

// The printer sequences are written as "<018>" and "<015>" and kept to the fields' two
// characters; nothing reads them.
constexpr FieldDefault kListaimp[] = {
    {"NRO_TERM", D::Terminal},
    {"NOMEIMP", D::Text, "NAO DOS"},
    {"IPADRAO", D::Printer},
    {"SEQ0", D::Text, "<018>"},
    {"SEQ1", D::Text, "<015>"},
};

constexpr FieldDefault kDiret[] = {
    {"SELEC", D::Text, "S"},
    {"DIRETOR", D::DataFolder},
};

std::string without_final_slash(std::string_view folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.remove_suffix(1);
  return std::string(folder);
}

}  // namespace

const std::span<const FieldDefault> kConfigDefaults{kConfig};
const std::span<const FieldDefault> kDefineDefaults{kDefine};
const std::span<const FieldDefault> kCoresDefaults{kCores};
const std::span<const FieldDefault> kListaimpDefaults{kListaimp};
const std::span<const FieldDefault> kDiretFirstRow{kDiret};

std::string default_text(const FieldDefault& d, const SettingsContext& ctx) {
  switch (d.from) {
    case D::Text: return std::string(d.text);
    case D::Terminal: return std::string(ctx.terminal);
    case D::DataFolder: return without_final_slash(ctx.data_folder);
    case D::StartupFolder: return std::string(ctx.startup_folder);
    case D::Home: return without_final_slash(ctx.home) + "/" + std::string(d.text);
    case D::Printer: return std::string(ctx.default_printer);
    case D::Today: return ctx.today.DTOS();
  }
  return {};
}

namespace detail {

bool iequal(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

void assign(std::string& out, std::string_view text, int width) {
  out.assign(text.substr(0, size_t(width)));
}
void assign(base::Decimal& out, std::string_view text, int) {
  out = base::Decimal::parse(text).value_or(base::Decimal());
}
void assign(base::Date& out, std::string_view text, int) {
  out = base::Date::from_dtos(text).value_or(base::Date());
}
void assign(bool& out, std::string_view text, int) { out = text == "T"; }

}  // namespace detail
}  // namespace kardo::store

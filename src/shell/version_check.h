// The version check: one HTTP request to the maker's server, looking in the reply for the
// product token (two-letter product code + CANOATUAL) followed by a separator, the offered
// version (5 characters) and its date (8 characters, "dd/mm/yy"), compared with CULTIMAVER.
//
// Host, port, path, product code and download address are build-time settings (CMake cache
// variables KARDO_UPDATE_*); an empty host means no check, the default. Connect and read
// time-outs keep start-up from waiting more than a few seconds.
#pragma once

#include <string>

#include "base/operator.h"

namespace kardo::shell {

struct VersionServer {
  std::string host;
  int port = 80;
  std::string path = "/";
  std::string product_code;  // two letters
  std::string download_url;  // opened when the operator accepts the update
  long connect_timeout_ms = 3000;
  long total_timeout_ms = 5000;
  static VersionServer built_in();
};

enum class VersionOutcome {
  NOT_CONFIGURED,   // no host: nothing was asked
  NO_CONNECTION,    // "Erro no acesso a Internet"
  NO_TOKEN,         // the reply does not carry the product token
  UP_TO_DATE,
  UPDATE_DECLINED,
  LEAVE_TO_UPDATE,  // the operator accepted: the program ends for the update
};

// Looks for the token in a reply; on success fills version and date.
bool find_version_token(const std::string& reply, const std::string& token, std::string& version, std::string& date);

// Runs the check. `from_menu` adds the messages of a check the operator asked for.
// `VER_ATUAL` is the office setting: when it is "S" and the connection fails, the operator
// is asked whether to go on checking at every start and the answer is left in it (the caller
// stores it in DEFINE).
VersionOutcome VER_VERSAO(base::Operator& op, const VersionServer& server, bool from_menu, std::string& VER_ATUAL);

}  // namespace kardo::shell

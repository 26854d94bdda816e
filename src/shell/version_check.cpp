#include "shell/version_check.h"

#include <curl/curl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <vector>

#include "base/codepage.h"
#include "base/year.h"

#ifndef KARDO_UPDATE_HOST
#define KARDO_UPDATE_HOST ""
#endif
#ifndef KARDO_UPDATE_PORT
#define KARDO_UPDATE_PORT 80
#endif
#ifndef KARDO_UPDATE_PATH
#define KARDO_UPDATE_PATH "/"
#endif
#ifndef KARDO_UPDATE_PRODUCT
#define KARDO_UPDATE_PRODUCT "KD"
#endif
#ifndef KARDO_UPDATE_DOWNLOAD
#define KARDO_UPDATE_DOWNLOAD ""
#endif

extern char** environ;

namespace kardo::shell {

using namespace base::literals;

namespace {

constexpr size_t kReplyLimit = 8000;  // one reply chunk, as the check has always read

size_t collect(char* data, size_t size, size_t count, void* user) {
  auto* reply = static_cast<std::string*>(user);
  size_t n = size * count;
  size_t room = kReplyLimit - std::min(kReplyLimit, reply->size());
  reply->append(data, std::min(n, room));
  return reply->size() >= kReplyLimit ? 0 : n;  // 0 ends the transfer once the chunk is full
}

// The reply, status line and headers included, as the check reads the raw answer.
bool fetch(const VersionServer& server, std::string& reply) {
  CURL* curl = curl_easy_init();
  if (!curl) return false;
  std::string url = "http://" + server.host + ":" + std::to_string(server.port) + server.path;
  std::string agent = "Programa Kardo" + std::string(base::CANOATUAL);
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_USERAGENT, agent.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, server.connect_timeout_ms);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, server.total_timeout_ms);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_HEADER, 1L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply);
  CURLcode rc = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  return rc == CURLE_OK || (rc == CURLE_WRITE_ERROR && reply.size() >= kReplyLimit);
}

// Opens the download address with the desktop's opener; false when there is none.
bool open_download(const std::string& url) {
  if (url.empty()) return false;
  std::vector<char*> argv = {const_cast<char*>("xdg-open"), const_cast<char*>(url.c_str()), nullptr};
  pid_t pid;
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  if (waitpid(pid, &status, 0) < 0) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

VersionServer VersionServer::built_in() {
  VersionServer s;
  s.host = KARDO_UPDATE_HOST;
  s.port = KARDO_UPDATE_PORT;
  s.path = KARDO_UPDATE_PATH;
  s.product_code = KARDO_UPDATE_PRODUCT;
  s.download_url = KARDO_UPDATE_DOWNLOAD;
  return s;
}

bool find_version_token(const std::string& reply, const std::string& token, std::string& version, std::string& date) {
  size_t p = reply.find(token);
  if (p == std::string::npos || token.empty()) return false;
  // token (4) + separator (1) + version (5) + date (8)
  version = reply.substr(std::min(reply.size(), p + 5), 5);
  date = reply.substr(std::min(reply.size(), p + 10), 8);
  return true;
}

VersionOutcome VER_VERSAO(base::Operator& op, const VersionServer& server, bool from_menu, std::string& VER_ATUAL) {
  if (server.host.empty()) {
    if (from_menu) op.AVISOSN("Função não disponível nesta versão."_cp);
    return VersionOutcome::NOT_CONFIGURED;
  }
  op.message_line("Verificando se existe atualização...."_cp);
  std::string reply;
  if (!fetch(server, reply)) {
    op.AVISOSN("Erro no acesso a Internet"_cp);
    if (VER_ATUAL == "S")
      VER_ATUAL = op.AVISOSN("Continua a fazer essa verificação sempre na entrada?"_cp, base::BOX_YES_NO);
    op.AVISOSN("Nao foi possivel saber se ha atualizacao!"_cp);
    op.message_line("");
    return VersionOutcome::NO_CONNECTION;
  }
  std::string version, date;
  VersionOutcome outcome;
  if (!find_version_token(reply, server.product_code + std::string(base::CANOATUAL), version, date)) {
    if (from_menu) op.AVISOSN("Não houve leitura sobre a atualização!"_cp, base::BOX_ERROR);
    outcome = VersionOutcome::NO_TOKEN;
  } else if (date != base::CULTIMAVER) {
    base::Box ask;
    ask.mode = base::BOX_YES_NO;
    ask.caption = std::string("Atualização de versão"_cp);
    ask.lines = {std::string("Aviso! Existe a versão "_cp) + version + std::string(" diferente da sua "_cp) +
                     std::string(base::VERSAO),
                 std::string("Atualização feita em "_cp) + date + std::string(". Deseja atualizar agora?"_cp)};
    if (op.AVISOSN(ask) == "S") {
      op.AVISOSN("Saindo do programa para a nova atualização"_cp);
      if (!open_download(server.download_url))
        op.AVISOSN({std::string("Não foi possível abrir o endereço da atualização:"_cp), server.download_url},
                   base::BOX_ERROR);
      outcome = VersionOutcome::LEAVE_TO_UPDATE;
    } else {
      outcome = VersionOutcome::UPDATE_DECLINED;
    }
  } else {
    if (from_menu) op.AVISOSN("Não existe atualização no momento!"_cp);
    outcome = VersionOutcome::UP_TO_DATE;
  }
  op.message_line("");
  return outcome;
}

}  // namespace kardo::shell

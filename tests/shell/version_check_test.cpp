#include "shell/version_check.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "base/codepage.h"

using namespace kardo;
using namespace kardo::base::literals;

namespace {

// A one-connection HTTP server on loopback that records the request and sends `reply`
// (or nothing at all, to test the time-out).
class LoopbackServer {
 public:
  explicit LoopbackServer(std::string reply, bool answer = true) : reply_(std::move(reply)), answer_(answer) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    int one = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    ::listen(fd_, 1);
    thread_ = std::thread([this] { serve(); });
  }
  ~LoopbackServer() {
    ::shutdown(fd_, SHUT_RDWR);
    ::close(fd_);
    thread_.join();
  }
  int port() const { return port_; }
  const std::string& request() const { return request_; }

 private:
  void serve() {
    int c = ::accept(fd_, nullptr, nullptr);
    if (c < 0) return;
    char buf[4096];
    while (request_.find("\r\n\r\n") == std::string::npos) {
      ssize_t n = ::recv(c, buf, sizeof buf, 0);
      if (n <= 0) break;
      request_.append(buf, size_t(n));
    }
    if (answer_) {
      ::send(c, reply_.data(), reply_.size(), MSG_NOSIGNAL);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    }
    ::close(c);
  }
  std::string reply_;
  bool answer_;
  int fd_ = -1;
  int port_ = 0;
  std::string request_;
  std::thread thread_;
};

std::string http(const std::string& body) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

shell::VersionServer server_at(int port) {
  shell::VersionServer s;
  s.host = "127.0.0.1";
  s.port = port;
  s.product_code = "KD";
  s.connect_timeout_ms = 500;
  s.total_timeout_ms = 800;
  return s;
}

struct Fixture : ::testing::Test {
  base::FixedClock clock{base::Date(2019, 3, 10)};
  base::ScriptedOperator op{clock};
  std::string ver_atual = "S";
};

}  // namespace

TEST_F(Fixture, SameDateFromTheMenuSaysThereIsNoUpdate) {
  LoopbackServer srv(http("<html>versao KD19 Lib  17/07/19 ok</html>"));
  EXPECT_EQ(shell::VER_VERSAO(op, server_at(srv.port()), true, ver_atual), shell::VersionOutcome::UP_TO_DATE);
  EXPECT_TRUE(op.showed("Não existe atualização no momento!"_cp));
  EXPECT_NE(srv.request().find("GET / HTTP/1.1\r\n"), std::string::npos);
  EXPECT_NE(srv.request().find("\r\nHost: 127.0.0.1"), std::string::npos);
  EXPECT_NE(srv.request().find("\r\nUser-Agent: Programa Kardo19\r\n"), std::string::npos);
}

TEST_F(Fixture, NewerVersionAsksAndTheOperatorDeclines) {
  LoopbackServer srv(http("KD19 V2.0102/08/19"));  // the date follows the version directly
  op.answer("N");
  EXPECT_EQ(shell::VER_VERSAO(op, server_at(srv.port()), false, ver_atual), shell::VersionOutcome::UPDATE_DECLINED);
  ASSERT_EQ(op.box_texts().size(), 1u);
  EXPECT_EQ(op.box_texts()[0], std::string("Aviso! Existe a versão V2.01 diferente da sua Lib   / "
                                           "Atualização feita em 02/08/19. Deseja atualizar agora?"_cp));
  EXPECT_EQ(op.shown().back().kind, "line");  // message line cleared at the end
}

TEST_F(Fixture, NoTokenIsAnErrorOnlyFromTheMenu) {
  {
    LoopbackServer srv(http("nothing here"));
    EXPECT_EQ(shell::VER_VERSAO(op, server_at(srv.port()), false, ver_atual), shell::VersionOutcome::NO_TOKEN);
    EXPECT_TRUE(op.box_texts().empty());
  }
  LoopbackServer srv(http("nothing here"));
  EXPECT_EQ(shell::VER_VERSAO(op, server_at(srv.port()), true, ver_atual), shell::VersionOutcome::NO_TOKEN);
  ASSERT_EQ(op.shown().size() > 0, true);
  EXPECT_TRUE(op.showed("Não houve leitura sobre a atualização!"_cp));
}

TEST_F(Fixture, NoConnectionAsksWhetherToKeepChecking) {
  int closed_port;
  { LoopbackServer probe(http("")); closed_port = probe.port(); }  // nobody listens there now
  op.answer("N");
  EXPECT_EQ(shell::VER_VERSAO(op, server_at(closed_port), false, ver_atual), shell::VersionOutcome::NO_CONNECTION);
  EXPECT_EQ(ver_atual, "N");
  auto boxes = op.box_texts();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0], "Erro no acesso a Internet");
  EXPECT_EQ(boxes[2], "Nao foi possivel saber se ha atualizacao!");
}

TEST_F(Fixture, ASilentServerCannotHoldStartUp) {
  LoopbackServer srv("", /*answer=*/false);
  ver_atual = "";
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(shell::VER_VERSAO(op, server_at(srv.port()), false, ver_atual), shell::VersionOutcome::NO_CONNECTION);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1400));
  EXPECT_EQ(op.box_texts().size(), 2u);  // no question when VER_ATUAL is not "S"
}

TEST(VersionToken, PositionsAfterTheToken) {
  std::string v, d;
  EXPECT_TRUE(shell::find_version_token("xxKD19 Lib  17/07/19yy", "KD19", v, d));
  EXPECT_EQ(v, "Lib  ");
  EXPECT_EQ(d, "17/07/19");
  EXPECT_TRUE(shell::find_version_token("KD19", "KD19", v, d));  // cut reply: short fields
  EXPECT_EQ(v, "");
  EXPECT_FALSE(shell::find_version_token("KD18 Lib  17/07/19", "KD19", v, d));
}

#pragma once
// An SMTP server for tests, on its own loopback address and port 25, that
// answers by script: each reply is a list of writes, each after its own
// delay, so that a test decides how replies are cut into reads. It runs in
// the test's event loop and records every byte it receives.

#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvis::testing {

struct ScriptStep {
  std::string text;    // written and flushed as one piece
  int delayMs = 0;     // after the previous step
  bool close = false;  // close the connection instead of writing
  bool reset = false;  // reset it (RST) instead of writing
};
using Reply = std::vector<ScriptStep>;

struct Command {
  std::string verb;  // "HELO", "MAIL", ..., "." for the end of a message
  std::string line;  // the whole line without CR LF
  int seen = 0;      // earlier commands with the same verb, all connections
};

class ScriptedSmtpServer {
 public:
  explicit ScriptedSmtpServer(const std::string& address);
  ~ScriptedSmtpServer();
  bool listening() const { return server_.isListening(); }

  // Sent on every new connection.
  Reply greeting{{"220 scripted ESMTP\r\n"}};
  // The reply to a command; nullopt takes the default (250 for HELO, MAIL,
  // RCPT, RSET and a message, 354 for DATA, 221 and a close for QUIT, 500
  // otherwise). The HELO reply waits a little by default, so that it is
  // read apart from the greeting.
  std::function<std::optional<Reply>(const Command&)> script;
  // The same reply to every command with this verb (before `script`).
  void on(const std::string& verb, Reply reply) { fixed_[verb] = std::move(reply); }

  std::string received;               // every byte, every connection
  std::vector<std::string> commands;  // command lines, outside message texts
  std::vector<std::string> messages;  // message texts as sent, up to the end mark
  int connections = 0;

  int count(const std::string& commandLine) const;

 private:
  struct Connection {
    QTcpSocket* socket;
    std::string buffer;
    bool inData = false;
    std::string message;
  };
  void accept();
  void onData(Connection& c);
  void onLine(Connection& c, const std::string& line);
  void play(QTcpSocket* socket, Reply reply, size_t step);
  Reply defaultReply(const Command& command) const;

  QTcpServer server_;
  std::map<QTcpSocket*, Connection> open_;
  std::map<std::string, int> seen_;
  std::map<std::string, Reply> fixed_;
};

}  // namespace orvis::testing

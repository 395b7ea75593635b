#include "scripted_smtp_server.h"

#include <sys/socket.h>

#include <QTimer>
#include <algorithm>

#include "platform/bytes.h"
#include "session_harness.h"

namespace orvis::testing {

ScriptedSmtpServer::ScriptedSmtpServer(const std::string& address) {
  // Made before any harness, it still needs the event loop to accept.
  ensureQtApplication();
  server_.listen(QHostAddress(QString::fromStdString(address)), 25);
  QObject::connect(&server_, &QTcpServer::newConnection, [this] { accept(); });
}

ScriptedSmtpServer::~ScriptedSmtpServer() {
  for (auto& [socket, c] : open_) {
    socket->disconnect();
    socket->abort();
  }
  server_.close();
}

int ScriptedSmtpServer::count(const std::string& commandLine) const {
  return static_cast<int>(std::count(commands.begin(), commands.end(), commandLine));
}

void ScriptedSmtpServer::accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    ++connections;
    open_[socket] = Connection{socket, {}, false, {}};
    QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] { onData(open_[socket]); });
    // Forgotten from the event loop: a close inside a reply happens while
    // the connection's data is still being worked through.
    QObject::connect(socket, &QTcpSocket::disconnected, [this, socket] {
      QTimer::singleShot(0, &server_, [this, socket] {
        open_.erase(socket);
        socket->deleteLater();
      });
    });
    play(socket, greeting, 0);
  }
}

void ScriptedSmtpServer::onData(Connection& c) {
  QByteArray bytes = c.socket->readAll();
  std::string text(bytes.constData(), static_cast<size_t>(bytes.size()));
  received += text;
  c.buffer += text;
  size_t end;
  while ((end = c.buffer.find("\r\n")) != std::string::npos) {
    std::string line = c.buffer.substr(0, end);
    c.buffer.erase(0, end + 2);
    onLine(c, line);
  }
}

void ScriptedSmtpServer::onLine(Connection& c, const std::string& line) {
  if (c.inData && line != ".") {
    c.message += line;
    c.message += "\r\n";
    return;
  }
  Command command;
  if (c.inData) {
    c.inData = false;
    messages.push_back(c.message);
    c.message.clear();
    command.verb.assign(1, '.');
  } else {
    commands.push_back(line);
    command.verb = platform::asciiUpper(line.substr(0, line.find_first_of(" :")));
  }
  command.line = line;
  command.seen = seen_[command.verb]++;
  std::optional<Reply> reply;
  if (auto fixed = fixed_.find(command.verb); fixed != fixed_.end()) reply = fixed->second;
  if (!reply && script) reply = script(command);
  if (!reply) reply = defaultReply(command);
  if (command.verb == "DATA" && !reply->empty() && reply->front().text.rfind("354", 0) == 0) {
    c.inData = true;
  }
  play(c.socket, *reply, 0);
}

Reply ScriptedSmtpServer::defaultReply(const Command& command) const {
  const std::string& v = command.verb;
  if (v == "HELO" || v == "EHLO") return {{"250 scripted\r\n", 30}};
  if (v == "MAIL" || v == "RCPT" || v == "RSET") return {{"250 ok\r\n"}};
  if (v == "DATA") return {{"354 go ahead\r\n"}};
  if (v == ".") return {{"250 queued\r\n"}};
  if (v == "QUIT") return {{"221 bye\r\n"}, {"", 0, true}};
  return {{"500 unknown\r\n"}};
}

void ScriptedSmtpServer::play(QTcpSocket* socket, Reply reply, size_t step) {
  if (step >= reply.size()) return;
  auto run = [this, socket, reply, step] {
    if (!open_.count(socket)) return;
    const ScriptStep& s = reply[step];
    if (s.close) {
      socket->disconnectFromHost();
      return;
    }
    if (s.reset) {
      // A close without lingering sends a reset, not a FIN.
      linger hard{1, 0};
      ::setsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard,
                   sizeof hard);
      socket->abort();
      return;
    }
    socket->write(s.text.data(), static_cast<qint64>(s.text.size()));
    socket->flush();
    play(socket, reply, step + 1);
  };
  if (reply[step].delayMs == 0) {
    run();
  } else {
    QTimer::singleShot(reply[step].delayMs, socket, run);
  }
}

}  // namespace orvis::testing

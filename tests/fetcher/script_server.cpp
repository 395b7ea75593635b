#include "script_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/bytes.h"
#include "platform/files.h"
#include "platform/posix_process_launcher.h"
#include "support/temp_dir.h"

namespace orvis::testing {
namespace {

// A socket bound to a free port of 127.0.0.1.
int boundSocket(int* port) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    if (fd >= 0) ::close(fd);
    return -1;
  }
  *port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

ScriptServer::ScriptServer(const std::string& folder, const std::string& name,
                           const std::vector<std::string>& args) {
  base_ = folder + name;
  std::string commandLine = "/usr/bin/python3 \"" TEST_SERVERS_SCRIPT "\"";
  for (size_t i = 0; i < args.size(); ++i) {
    commandLine += " \"" + args[i] + "\"";
    if (i == 0) commandLine += " \"" + portFile() + "\" \"" + logFile() + "\"";
  }
  writeText(logFile(), "");
  auto launched =
      platform::PosixProcessLauncher().launch(commandLine, folder, platform::WindowMode::Hidden);
  if (!launched) return;
  process_ = std::move(launched.handle);
  for (int i = 0; i < 200 && port_ == 0; ++i) {
    if (auto text = platform::readFile(portFile())) port_ = platform::parseInt(*text).value_or(0);
    if (port_ == 0 && process_->wait(50) != platform::kWaitTimeout) break;
  }
}

ScriptServer::~ScriptServer() {
  if (!process_) return;
  ::kill(process_->pid(), SIGTERM);
  process_->wait(5000);
}

std::string ScriptServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> ScriptServer::requests() const { return readLines(logFile()); }

SilentServer::SilentServer() {
  fd_ = boundSocket(&port_);
  if (fd_ >= 0 && ::listen(fd_, 8) != 0) port_ = 0;
}

SilentServer::~SilentServer() {
  if (fd_ >= 0) ::close(fd_);
}

int closedPort() {
  int port = 0;
  int fd = boundSocket(&port);
  if (fd >= 0) ::close(fd);
  return port;
}

}  // namespace orvis::testing

#pragma once
// A loopback server of test_servers.py, run for the length of a test.

#include <memory>
#include <string>
#include <vector>

#include "platform/process_handle.h"

namespace orvis::testing {

class ScriptServer {
 public:
  // `args` follow the script name; `folder` holds its port and log files.
  ScriptServer(const std::string& folder, const std::string& name,
               const std::vector<std::string>& args);
  ~ScriptServer();
  ScriptServer(const ScriptServer&) = delete;
  ScriptServer& operator=(const ScriptServer&) = delete;

  // 0 when the server did not come up.
  int port() const { return port_; }
  std::string url(const std::string& path) const;
  // One line per request served so far.
  std::vector<std::string> requests() const;

  std::string portFile() const { return base_ + ".port"; }
  std::string logFile() const { return base_ + ".log"; }

 private:
  std::string base_;
  std::unique_ptr<platform::ProcessHandle> process_;
  int port_ = 0;
};

// A port that takes connections into its backlog and never answers them.
class SilentServer {
 public:
  SilentServer();
  ~SilentServer();
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;
  int port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

// A loopback port where nothing listens.
int closedPort();

}  // namespace orvis::testing

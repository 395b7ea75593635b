#pragma once
// The verbs --capture and --check: the capture button and the manual check
// button of a monitor without a window, over the given jobs or all, with a
// line per job for the operator and an exit status for scripts. The monitor
// logic is the window's own: the same snapshots, files, generations, log
// lines and alert mails. Message boxes go as in the service start: logged
// and answered with their default button.

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "command_line.h"
#include "headless_window.h"
#include "monitor.h"

namespace orvis {

class CommandVerbs {
 public:
  // `host.start` is not used: the verbs run as the service start does.
  CommandVerbs(const MonitorHost& host, std::ostream& out, std::ostream& err);

  // Runs --capture or --check; the exit status.
  int run(const CommandLine& command);

  // A termination signal: the running step returns without writing more,
  // and run() answers kSignalBase + signal.
  void interrupt(int signo);

  Monitor& monitor() { return monitor_; }

 private:
  using RowBlock = std::pair<int, int>;

  // The blocks of consecutive grid rows of the given jobs (all jobs when
  // none is given), in ascending order; nullopt after a message.
  std::optional<std::vector<RowBlock>> rowsOf(const std::vector<std::string>& numbers);
  int capture(const std::vector<RowBlock>& blocks);
  int check(const std::vector<RowBlock>& blocks);
  // Selects the rows, as a user drags over them and clicks the first.
  void select(const RowBlock& block);
  // The number, UTF-8 and trimmed, and the name of the job of a row.
  void report(int row, const std::string& status);
  std::string jobFileValue(int row, const char* key);
  std::string jobFile(int row) const;
  int interrupted() const;

  static MonitorHost unattended(const MonitorHost& host);

  std::ostream& out_;
  std::ostream& err_;
  HeadlessWindow window_;
  Monitor monitor_;
  int signal_ = 0;
};

}  // namespace orvis

#pragma once
// Every message box and question of the monitor. In a service start there
// is nobody to answer: no window opens, the default button is the answer.
// The answer is logged either way. Once the program is asked to end, boxes
// answer mb::IdNone: an open one is closed, a new one is not opened.

#include <string>

#include "platform/stop_flag.h"
#include "prompter.h"
#include "sys_log.h"

namespace orvis {

class MessageBoxes {
 public:
  MessageBoxes(const SysLog& log, Prompter& prompter, bool serviceStart,
               const platform::StopFlag& stop)
      : log_(log), prompter_(prompter), service_(serviceStart), stop_(stop) {}

  int show(const std::string& text, const std::string& caption, int flags) const;

  // Closes the open boxes unanswered (the stop flag is raised by then).
  void interrupt() const { prompter_.interrupt(); }

  const SysLog& log() const { return log_; }

 private:
  const SysLog& log_;
  Prompter& prompter_;
  bool service_;
  const platform::StopFlag& stop_;
};

}  // namespace orvis

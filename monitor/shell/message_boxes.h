#pragma once
// Every message box and question of the monitor. In a service start there
// is nobody to answer: no window opens, the default button is the answer.
// The answer is logged either way.

#include <string>

#include "prompter.h"
#include "sys_log.h"

namespace orvis {

class MessageBoxes {
 public:
  MessageBoxes(const SysLog& log, Prompter& prompter, bool serviceStart)
      : log_(log), prompter_(prompter), service_(serviceStart) {}

  int show(const std::string& text, const std::string& caption, int flags) const;

 private:
  const SysLog& log_;
  Prompter& prompter_;
  bool service_;
};

}  // namespace orvis

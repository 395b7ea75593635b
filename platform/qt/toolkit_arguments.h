#pragma once
// The command line the QApplication is given: the program's name and, when
// no display can be used, the offscreen platform; never the program's own
// arguments, which the toolkit would otherwise take as its options ("-style",
// "-reverse", ...) and remove. The programs read their arguments themselves
// before the QApplication is made. The object must outlive the QApplication.

#include <string>
#include <vector>

namespace orvis::platform {

class ToolkitArguments {
 public:
  ToolkitArguments(const char* programName, bool offscreen);
  ToolkitArguments(const ToolkitArguments&) = delete;
  ToolkitArguments& operator=(const ToolkitArguments&) = delete;

  int& argc() { return argc_; }
  char** argv() { return pointers_.data(); }

 private:
  std::vector<std::string> words_;
  std::vector<char*> pointers_;
  int argc_ = 0;
};

}  // namespace orvis::platform

#pragma once
// The command line the QApplication is given: the program's name and the
// platforms to try (offscreen alone when no display can be used); never the
// program's own
// arguments, which the toolkit would otherwise take as its options ("-style",
// "-reverse", ...) and remove. The programs read their arguments themselves
// before the QApplication is made. The object must outlive the QApplication.

#include <string>
#include <vector>

namespace orvis::platform {

class ToolkitArguments {
 public:
  // `platforms`: the toolkit's platform list, or empty for none.
  ToolkitArguments(const char* programName, const std::string& platforms);
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

#include "toolkit_arguments.h"

namespace orvis::platform {

ToolkitArguments::ToolkitArguments(const char* programName, const std::string& platforms) {
  words_.emplace_back(programName ? programName : "");
  // Given here rather than through QT_QPA_PLATFORM, so that the programs
  // this one starts look for a display of their own.
  if (!platforms.empty()) {
    words_.emplace_back("-platform");
    words_.emplace_back(platforms);
  }
  for (auto& word : words_) pointers_.push_back(word.data());
  argc_ = static_cast<int>(words_.size());
  pointers_.push_back(nullptr);
}

}  // namespace orvis::platform

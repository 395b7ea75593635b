#pragma once
// Records what the mail logic shows, in UTF-8 for readable assertions, and
// the program's end.

#include <string>
#include <vector>

#include "mailsender/postiva_view.h"
#include "mailsender/program_end.h"
#include "platform/codec.h"

namespace orvis::testing {

class FakePostivaView : public postiva::PostivaView {
 public:
  void setCaption(const std::string& text) override { caption = platform::toUtf8(text); }
  void setWorkFolderName(const std::string& text) override {
    workFolderName = platform::toUtf8(text);
  }
  void setStatus(const std::string& text) override { statuses.push_back(platform::toUtf8(text)); }
  void setCountText(const std::string& text) override { countText = platform::toUtf8(text); }
  void setBusy(bool on) override { busy.push_back(on); }
  void showMessage(const std::string& text, const std::string& caption) override {
    messages.push_back(platform::toUtf8(caption) + ":" + platform::toUtf8(text));
  }

  std::string caption, workFolderName, countText;
  std::vector<std::string> statuses, messages;
  std::vector<bool> busy;
};

class FakeProgramEnd : public postiva::ProgramEnd {
 public:
  void endProgram(int code) override {
    ++calls;
    exitCode = code;
  }
  int calls = 0;
  int exitCode = -1;
};

}  // namespace orvis::testing

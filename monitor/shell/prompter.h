#pragma once
// Asking the user: a modal message box with the buttons, icon and default
// button that the Windows flags name. The window supplies the real one;
// tests answer from a list.

#include <string>

namespace orvis {

// Message-box flags as the callers pass them.
namespace mb {
constexpr int OK = 0x00;
constexpr int OKCancel = 0x01;
constexpr int IconStop = 0x10;
constexpr int IconExclamation = 0x30;
constexpr int DefButton2 = 0x100;
// Answers. IdNone: the box was closed, or never opened, because the
// program is ending; nobody answered.
constexpr int IdNone = 0;
constexpr int IdOk = 1;
constexpr int IdCancel = 2;

// The answer that the default button gives.
int defaultAnswer(int flags);
}  // namespace mb

class Prompter {
 public:
  virtual ~Prompter() = default;
  // Text and caption are CP932; returns the answer (mb::IdOk, mb::IdCancel,
  // or mb::IdNone when interrupt() closed the box).
  virtual int ask(const std::string& text, const std::string& caption, int flags) = 0;
  // Closes every box that is open now, unanswered: the program is ending.
  virtual void interrupt() = 0;
};

}  // namespace orvis

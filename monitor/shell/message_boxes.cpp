#include "message_boxes.h"

namespace orvis {

int mb::defaultAnswer(int flags) {
  const int buttons = flags & 0x0F;
  const bool second = (flags & 0xF00) == DefButton2;
  if (buttons == OKCancel && second) return IdCancel;
  return IdOk;
}

int MessageBoxes::show(const std::string& text, const std::string& caption, int flags) const {
  // The program is ending: no box opens any more, and none is logged.
  if (stop_.raised()) return mb::IdNone;
  int answer = service_ ? mb::defaultAnswer(flags) : prompter_.ask(text, caption, flags);
  // A box that the request to end closed was not answered.
  if (stop_.raised()) answer = mb::IdNone;
  log_.write(text + "->" + std::to_string(answer));
  return answer;
}

}  // namespace orvis

#include "message_boxes.h"

namespace orvis {

int mb::defaultAnswer(int flags) {
  const int buttons = flags & 0x0F;
  const bool second = (flags & 0xF00) == DefButton2;
  if (buttons == OKCancel && second) return IdCancel;
  return IdOk;
}

int MessageBoxes::show(const std::string& text, const std::string& caption, int flags) const {
  int answer = service_ ? mb::defaultAnswer(flags) : prompter_.ask(text, caption, flags);
  log_.write(text + "->" + std::to_string(answer));
  return answer;
}

}  // namespace orvis

#pragma once
// The application's general error handling: an error that an operation does
// not handle itself ends that operation; its own text is shown (and, as
// every message box, logged) and the window stays usable.

#include <string>

#include "message_boxes.h"

namespace orvis {

inline void showGeneralError(const MessageBoxes& boxes, const std::string& text) {
  boxes.show(text, "ORVIS Monitor", mb::OK | mb::IconStop);
}

}  // namespace orvis

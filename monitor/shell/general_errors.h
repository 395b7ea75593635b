#pragma once
// The application's general error handling: an error that an operation does
// not handle itself ends that operation; its own text is shown (and, as
// every message box, logged) and the window stays usable.

#include <string>

#include "services.h"

namespace orvis {

inline void showGeneralError(const Services& s, const std::string& text) {
  s.boxes.show(text, "ORVIS Monitor", mb::OK | mb::IconStop);
}

}  // namespace orvis

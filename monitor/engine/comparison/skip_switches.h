#pragma once
// Which kinds of page regions the comparison passes over in both files.

#include <string_view>

namespace orvis {

struct SkipSwitches {
  bool script = false;   // SCRIPT_IGNORE
  bool comment = false;  // COMMENT_IGNORE
  bool anchor = false;   // HREF_IGNORE
  bool src = false;      // SRC_IGNORE
  bool alt = false;      // ALT_IGNORE
  bool head = false;     // HEAD_IGNORE

  // From the texts of the job's effective settings: a switch is on only
  // when its text is exactly "YES".
  static SkipSwitches fromSettings(std::string_view script, std::string_view comment,
                                   std::string_view href, std::string_view src,
                                   std::string_view alt, std::string_view head);

  static SkipSwitches all();

  bool any() const { return script || comment || anchor || src || alt || head; }
};

}  // namespace orvis

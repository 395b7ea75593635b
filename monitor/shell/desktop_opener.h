#pragma once
// Shows a web address, a folder or a page to the user with the desktop's
// default handler ("xdg-open", in place of the Windows shell "explorer"),
// started in "temp/" and waited for with the window kept responsive. The
// Java check page of the settings and the target preview both open here.

#include <string>

#include "services.h"

namespace orvis {

class DesktopOpener {
 public:
  explicit DesktopOpener(const Services& services) : s_(services) {}

  static constexpr const char* kProgram = "xdg-open";

  // Opens the target (a file-system path or an address, in the system's
  // own encoding, UTF-8) and waits for the handler to end. Logs "起動成功"
  // or "起動失敗", then "起動処理終了".
  void open(const std::string& target);

 private:
  const Services& s_;
};

}  // namespace orvis

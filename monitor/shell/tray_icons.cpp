#include "tray_icons.h"

#include <exception>

#include "platform/codec.h"

namespace orvis {

std::string TrayIcons::tipFor(int icon) const {
  if (icon == kCheckingPicture) return SJIS("NewORVIS：チェック中");
  return state_.automaticMode == 1 ? SJIS("NewORVIS：自動チェック待機中")
                                   : SJIS("NewORVIS：手動編集中");
}

void TrayIcons::logError(const char* operation, const std::string& text) const {
  log_.write(prefix() + operation +
             "()ERROR=" + (text.empty() ? SJIS("不明なエラーが発生しました") : text));
}

void TrayIcons::guarded(const char* operation, const std::function<void()>& step) const {
  try {
    step();
  } catch (const std::exception& e) {
    logError(operation, platform::toCp932(e.what()));
  } catch (...) {
    logError(operation, "");
  }
}

void TrayIcons::add(int icon) {
  if (serviceStart_) {
    log_.write(prefix() + "SetIcon():N/A");
    return;
  }
  log_.write(prefix() + "SetIcon()Icon=" + std::to_string(icon));
  guarded("SetIcon", [&] {
    TrayOutcome added = tray_.addIcon(icon, tipFor(icon));
    if (!added.done) logError("SetIcon", added.error);
  });
}

void TrayIcons::change(int icon) {
  if (serviceStart_) {
    log_.write(prefix() + "MODIFYIcon():N/A");
    return;
  }
  log_.write(prefix() + "MODIFYIcon()Icon=" + std::to_string(icon));
  // A desktop that lost the icon (its panel restarted) gets it again.
  guarded("MODIFYIcon", [&] {
    if (!tray_.modifyIcon(icon, tipFor(icon)).done) add(icon);
  });
}

void TrayIcons::remove() {
  if (serviceStart_) {
    log_.write(prefix() + "DelIcon():N/A");
    return;
  }
  try {
    tray_.removeIcon();
  } catch (...) {
    // The icon goes with the process anyway.
  }
}

}  // namespace orvis

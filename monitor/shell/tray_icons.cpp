#include "tray_icons.h"

#include "platform/codec.h"

namespace orvis {

std::string TrayIcons::tipFor(int icon) const {
  if (icon == 1) return SJIS("NewORVIS：チェック中");
  return state_.automaticMode == 1 ? SJIS("NewORVIS：自動チェック待機中")
                                   : SJIS("NewORVIS：手動編集中");
}

void TrayIcons::add(int icon) {
  if (serviceStart_) {
    log_.write(prefix() + "SetIcon():N/A");
    return;
  }
  log_.write(prefix() + "SetIcon()Icon=" + std::to_string(icon));
  if (!tray_.addIcon(icon, tipFor(icon)))
    log_.write(prefix() + "SetIcon()ERROR=" + SJIS("不明なエラーが発生しました"));
}

void TrayIcons::change(int icon) {
  if (serviceStart_) {
    log_.write(prefix() + "MODIFYIcon():N/A");
    return;
  }
  log_.write(prefix() + "MODIFYIcon()Icon=" + std::to_string(icon));
  // A desktop that lost the icon (its panel restarted) gets it again.
  if (!tray_.modifyIcon(icon, tipFor(icon))) add(icon);
}

void TrayIcons::remove() {
  if (serviceStart_) {
    log_.write(prefix() + "DelIcon():N/A");
    return;
  }
  tray_.removeIcon();
}

}  // namespace orvis

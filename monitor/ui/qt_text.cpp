#include "qt_text.h"

#include "platform/codec.h"

namespace orvis::ui {

QString fromCp932(const std::string& cp932) {
  return QString::fromStdString(platform::toUtf8(cp932));
}

std::string toCp932(const QString& text) { return platform::toCp932(text.toStdString()); }

}  // namespace orvis::ui

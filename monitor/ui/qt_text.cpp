#include "qt_text.h"

#include <algorithm>

#include "platform/codec.h"

namespace orvis::ui {

QString fromCp932(const std::string& cp932) {
  // ASCII reads the same in both: most cells of the job grid are.
  if (std::all_of(cp932.begin(), cp932.end(), [](char c) { return (c & 0x80) == 0; }))
    return QString::fromLatin1(cp932.data(), static_cast<qsizetype>(cp932.size()));
  return QString::fromStdString(platform::toUtf8(cp932));
}

std::string toCp932(const QString& text) { return platform::toCp932(text.toStdString()); }

}  // namespace orvis::ui

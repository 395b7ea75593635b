#pragma once
// The window boundary: the logic's CP932 texts to QString and back.

#include <QString>
#include <string>

namespace orvis::ui {

QString fromCp932(const std::string& cp932);
std::string toCp932(const QString& text);

}  // namespace orvis::ui

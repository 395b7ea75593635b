#pragma once
// One line of a stored page as the history window draws it: decoded from
// CP932, the stretches a check passes over, and the character where the
// comparison found its first difference. A very long line (a page written
// without line ends) shows a part of it: its start, or the part around the
// first difference.

#include <QString>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "monitor/history/page_lines.h"
#include "monitor/history/page_regions.h"

namespace orvis::ui {

struct ShownLine {
  QString text;
  std::vector<std::pair<int, int>> skipped;  // start and length, in text
  int mark = -1;                             // index in text, -1 for none
};

inline constexpr std::size_t kShownLineBytes = 2000;

ShownLine shownLine(const PageLines& page, const std::vector<ByteRegion>& regions, std::size_t line,
                    std::optional<std::uint64_t> markAt);

}  // namespace orvis::ui

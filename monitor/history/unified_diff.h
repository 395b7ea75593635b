#pragma once
// The difference of two stored pages for a terminal or a script, in
// UTF-8: a few lines on what the check's comparison found, then a unified
// diff as diff -u writes one, the regions the check passes over between
// "⟦" and "⟧" (or left out before the diff was made).

#include <ostream>
#include <string>

#include "page_difference.h"

namespace orvis {

// How an entry is named in the diff's header, UTF-8.
struct DiffSide {
  std::string place;   // "baseline", "1", ...
  std::string stored;  // its time
  std::string path;
};

inline constexpr const char* kSkipOpen = "\u27e6";
inline constexpr const char* kSkipClose = "\u27e7";

// The "---" and "+++" lines.
void writeDiffHeader(std::ostream& out, const DiffSide& older, const DiffSide& newer);

void writeUnifiedDiff(std::ostream& out, const PageDifference& d, const CompareRules& rules,
                      const DiffSide& older, const DiffSide& newer);

}  // namespace orvis

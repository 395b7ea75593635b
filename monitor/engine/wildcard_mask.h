#pragma once
// The last component of a FILE target as `dir` reads it: '*' and '?' with
// the DOS rules that users of the Windows listing rely on ("*.*" takes names
// without a dot, "*." takes only those, "a?.txt" also takes "a.txt"). ASCII
// letters match without regard to case. Names are UTF-8 as the system gives
// them; '?' stands for one character, not one byte.

#include <string>
#include <string_view>
#include <vector>

namespace orvis {

class WildcardMask {
 public:
  explicit WildcardMask(std::string_view utf8Mask);

  bool matches(std::string_view utf8Name) const;
  bool matchesEverything() const { return everything_; }
  // Dot names are hidden, except from a mask that asks for them.
  bool asksForDotNames() const { return dotNames_; }

 private:
  std::vector<char32_t> pattern_;
  bool everything_ = false;
  bool dotNames_ = false;
};

}  // namespace orvis

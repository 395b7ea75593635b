#pragma once
// The lines of a FILE listing that name a file, found by their path: each
// line can be taken once, and of the lines that share a path the first one
// listed is taken first.
//
// The lines are views into the listing's text. The index is an open-address
// table of the distinct paths (linear probing, at most half full); each slot
// holds the first line of its path not yet taken, and the lines of one path
// are chained in listing order. About 30 bytes per line beside the text.
// Line numbers are 32 bits: a listing is a file read whole, far below four
// thousand million lines.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace orvis {

class ListingPathIndex {
 public:
  explicit ListingPathIndex(std::string_view listing);

  // The first line not yet taken whose path is exactly `path`, taken now;
  // nothing when every such line is taken or there is none.
  std::optional<std::string_view> take(std::string_view path);

  // The lines in listing order, and whether each was taken.
  std::size_t size() const { return lines_.size(); }
  std::string_view line(std::size_t i) const { return lines_[i]; }
  bool taken(std::size_t i) const { return taken_[i]; }

 private:
  using Number = std::uint32_t;
  static constexpr Number kFree = 0;            // a slot no path holds
  static constexpr Number kSpent = ~Number{0};  // a path whose lines are all taken
  static constexpr Number kEnd = ~Number{0};    // the end of a chain
  static std::size_t hashOf(std::string_view path);

  std::vector<std::string_view> lines_;
  std::vector<Number> next_;   // the next line of the same path, or kEnd
  std::vector<Number> slots_;  // a path's first line not yet taken, plus one
  std::vector<bool> taken_;
  std::size_t mask_ = 0;
};

}  // namespace orvis

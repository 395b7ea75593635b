#include "page_lines.h"

#include <algorithm>
#include <cstring>

namespace orvis {
namespace {

// The first `c` at or after `from`, or n.
std::size_t next(const char* p, std::size_t n, std::size_t from, char c) {
  const void* at = from < n ? std::memchr(p + from, c, n - from) : nullptr;
  return at ? static_cast<std::size_t>(static_cast<const char*>(at) - p) : n;
}

}  // namespace

PageLines::PageLines(std::string text) : text_(std::move(text)) {
  // Files are read whole up to 256 MiB, so offsets fit in 32 bits. The next
  // CR and LF are kept, so that a text of one kind of line end alone is
  // still read once.
  const char* p = text_.data();
  const std::size_t n = text_.size();
  std::size_t cr = next(p, n, 0, '\r'), lf = next(p, n, 0, '\n');
  for (std::size_t begin = 0; begin < n;) {
    if (cr < begin) cr = next(p, n, begin, '\r');
    if (lf < begin) lf = next(p, n, begin, '\n');
    const std::size_t end = std::min(cr, lf);
    lines_.push_back({static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end - begin)});
    begin = end + (end == cr && end + 1 == lf ? 2 : 1);
  }
}

std::size_t PageLines::lineAt(std::uint64_t offset) const {
  if (lines_.empty()) return 0;
  auto after = std::upper_bound(lines_.begin(), lines_.end(), offset,
                                [](std::uint64_t at, const Span& s) { return at < s.begin; });
  return after == lines_.begin() ? 0 : static_cast<std::size_t>(after - lines_.begin()) - 1;
}

}  // namespace orvis

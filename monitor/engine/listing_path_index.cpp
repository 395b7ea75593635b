#include "listing_path_index.h"

#include <functional>

#include "listing_line.h"
#include "platform/bytes.h"

namespace orvis {

using listing_line::namesAFile;
using listing_line::pathOf;

std::size_t ListingPathIndex::hashOf(std::string_view path) {
  return std::hash<std::string_view>{}(path);
}

ListingPathIndex::ListingPathIndex(std::string_view listing) {
  // Counted first, so that every table is made once at its size.
  std::size_t count = 0;
  {
    platform::LineCursor cursor(listing);
    for (std::string_view line; cursor.next(line);) count += namesAFile(line);
  }
  lines_.reserve(count);
  platform::LineCursor cursor(listing);
  for (std::string_view line; cursor.next(line);)
    if (namesAFile(line)) lines_.push_back(line);

  std::size_t slots = 16;
  while (slots < 2 * count) slots *= 2;
  mask_ = slots - 1;
  slots_.assign(slots, kFree);
  next_.assign(count, kEnd);
  taken_.assign(count, false);
  // From the last line up, so that each path's chain ends in listing order.
  for (std::size_t i = count; i-- > 0;) {
    const std::string_view path = pathOf(lines_[i]);
    for (std::size_t s = hashOf(path) & mask_;; s = (s + 1) & mask_) {
      const Number held = slots_[s];
      if (held != kFree && pathOf(lines_[held - 1]) != path) continue;
      if (held != kFree) next_[i] = held - 1;
      slots_[s] = static_cast<Number>(i + 1);
      break;
    }
  }
}

std::optional<std::string_view> ListingPathIndex::take(std::string_view path) {
  for (std::size_t s = hashOf(path) & mask_;; s = (s + 1) & mask_) {
    const Number held = slots_[s];
    if (held == kFree) return std::nullopt;
    // A spent slot still lies on the probe path of the paths behind it.
    if (held == kSpent || pathOf(lines_[held - 1]) != path) continue;
    const Number i = held - 1;
    taken_[i] = true;
    slots_[s] = next_[i] == kEnd ? kSpent : next_[i] + 1;
    return lines_[i];
  }
}

}  // namespace orvis

#pragma once
// The start tests on a window held in a word (its newest byte at the top,
// zero where it holds nothing, as StartWindow keeps it): a few operations on
// the word decide nearly every window. Blanks inside an attribute's start
// leave the window to the byte-wise tests. Inline: they run at every '<'
// and quote of a page.

#include <bit>
#include <cstddef>
#include <cstdint>

#include "monitor/engine/comparison/start_tests.h"
#include "monitor/engine/comparison/start_window.h"

namespace orvis {

namespace word_tests {

inline constexpr std::size_t kTop = StartWindow::kCapacity - 1;

// The first byte of the word that the window holds; eight when it is
// empty.
inline std::size_t firstHeld(std::uint64_t window) {
  return static_cast<std::size_t>(std::countr_zero(window)) / 8;
}

}  // namespace word_tests

// True when the word's bytes, lowercased, hold the test's start with its
// last byte at byte `last` of the word; from 8 on, the start's first bytes
// at the top, the rest beyond it.
inline bool holdsStart(const StartTest& test, std::uint64_t word, std::size_t last) {
  // The patterns put the start's last byte at the top of the word.
  if (last <= word_tests::kTop) {
    const auto down = static_cast<unsigned>(8 * (word_tests::kTop - last));
    return ((word | test.lowerBits >> down) & test.patternBytes >> down) == test.pattern >> down;
  }
  const auto up = static_cast<unsigned>(8 * (last - word_tests::kTop));
  return ((word | test.lowerBits << up) & test.patternBytes << up) == test.pattern << up;
}

enum class WordVerdict { No, Yes, Undecided };

// startsRegion() on a window word.
inline WordVerdict startsRegionIn(const StartTest& test, std::uint64_t window, bool& readAhead) {
  readAhead = false;
  // A tag's window is its start exactly; six bytes make "<head>" only
  // without blanks.
  if (test.form != StartForm::Attribute)
    return holdsStart(test, window, word_tests::kTop) ? WordVerdict::Yes : WordVerdict::No;
  // The window without blanks begins with the start: past any leading
  // blanks, the start's bytes follow one another unless blanks stand
  // inside it.
  const std::size_t length = test.start.size();
  const std::uint64_t held =
      StartWindow::byteBits(word_tests::firstHeld(window), StartWindow::kCapacity);
  const std::uint64_t blanks = StartWindow::equalBytes(window, ' ') & held;
  const std::uint64_t others = ~blanks & held;
  if (others == 0) return WordVerdict::No;
  const auto first = static_cast<std::size_t>(std::countr_zero(others)) / 8;
  if (first + length > StartWindow::kCapacity) return WordVerdict::No;
  if (holdsStart(test, window, first + length - 1)) {
    const std::uint64_t after = StartWindow::byteBits(first + length, StartWindow::kCapacity);
    readAhead = (StartWindow::equalBytes(window, test.quote) & after) != 0;
    return WordVerdict::Yes;
  }
  return (blanks & StartWindow::byteBits(first, first + length)) == 0 ? WordVerdict::No
                                                                      : WordVerdict::Undecided;
}

// bytesUntilStart() for an attribute test on a window word whose byte
// `quote` (0 to 7) is the test's quote: the count, kNoStart, or kUndecided
// when the word alone cannot tell.
inline constexpr std::size_t kUndecided = kNoStart - 1;
inline std::size_t bytesUntilStartIn(const StartTest& test, std::uint64_t window,
                                     std::size_t quote) {
  const std::size_t length = test.start.size();
  const std::size_t held = word_tests::firstHeld(window);
  // Too few bytes up to the quote, blanks or not.
  if (quote + 1 < held + length) return kNoStart;
  const std::size_t first = quote + 1 - length;
  const std::uint64_t blanks = StartWindow::equalBytes(window, ' ');
  if (!holdsStart(test, window, quote)) {
    // Without blanks, the bytes before the quote are no start.
    return (blanks & StartWindow::byteBits(first, quote)) == 0 ? kNoStart : kUndecided;
  }
  // The bytes before the start, blanks aside, must leave the window; it
  // takes in bytes until it is full, then drops one per byte.
  const std::uint64_t before = ~blanks & StartWindow::byteBits(held, first);
  if (before == 0) return 0;
  const auto last = static_cast<std::size_t>(63 - std::countl_zero(before)) / 8;
  return last + test.window - word_tests::kTop;
}

}  // namespace orvis

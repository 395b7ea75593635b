#pragma once
// The eight tests that recognise the start of a region to pass over, in the
// order they are tried on each baseline byte, with each region's end and its
// log lines.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "monitor/engine/comparison/byte_scanner.h"
#include "monitor/engine/comparison/skip_switches.h"

namespace orvis {

enum class StartForm {
  Whole,      // the whole window, lowercased, is the start
  Attribute,  // the window without blanks begins with the start
  Head,       // the same, for the head tag
};

struct StartTest {
  StartForm form;
  std::size_t window;      // the window's maximum length
  std::string_view start;  // lower case
  std::string_view end;    // lower case
  bool SkipSwitches::*switchOn;
  const std::string& (*enterLine)();
  const std::string& (*leaveLine)();
  // The quote of an attribute value; zero otherwise.
  char quote = 0;
  // The end when it is one byte with no other case; zero otherwise.
  char endByte = 0;
  // The byte of the end that a search for it looks for (the one least
  // common inside such regions), and a finder of that byte, in either case,
  // and of the zero byte.
  std::size_t endAnchor = 0;
  ByteScanner endFinder{""};
  // The start as the top bytes of a little-endian word of the eight bytes
  // ending with its last, the bits that make its letters lower case, and
  // the bytes of the word it takes up.
  std::uint64_t pattern = 0, lowerBits = 0, patternBytes = 0;
  // The same for the end, in the low bytes of the word that begins with
  // its first byte.
  std::uint64_t endPattern = 0, endLowerBits = 0, endPatternBytes = 0;
};

inline constexpr std::size_t kStartTestCount = 8;

const std::array<StartTest, kStartTestCount>& startTests();

// True when the test recognises its start in the window that has just taken
// in the byte `last`. `readAhead` tells, for an attribute, that the value's
// closing quote is already in the window.
bool startsRegion(const StartTest& test, std::string_view window, char last, bool& readAhead);

// For an attribute test and a window whose byte at `quote` is the test's
// quote: when the window's bytes up to the quote, blanks left out, end with
// the test's start, how many more bytes the window must take in before the
// bytes ahead of the start have left it (so that its text begins with the
// start); kNoStart otherwise.
inline constexpr std::size_t kNoStart = static_cast<std::size_t>(-1);
std::size_t bytesUntilStart(const StartTest& test, std::string_view window, std::size_t quote);

}  // namespace orvis

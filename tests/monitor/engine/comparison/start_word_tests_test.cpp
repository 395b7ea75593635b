// The start tests on window words decide as the byte-wise tests do, on
// windows made of the bytes that starts are made of.

#include "monitor/engine/comparison/start_word_tests.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace orvis;

namespace {

TEST(StartWordTests, AgreeWithTheByteWiseTests) {
  const std::string bytes = "srcaltSRCALT=\"' '  <hedHED>!-x";
  std::mt19937 random(20260301);
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  int decided = 0, found = 0;
  for (int round = 0; round < 40000; ++round) {
    const StartTest& test = startTests()[pick(kStartTestCount)];
    // Often the start or a part of it, with blanks and case changed here
    // and there.
    std::string text;
    if (pick(3) != 0) {
      std::string_view part = test.start;
      if (pick(2) == 0)
        part = pick(2) ? part.substr(pick(part.size())) : part.substr(0, pick(part.size()));
      for (char c : part) {
        if (pick(4) == 0) text += ' ';
        text += pick(3) == 0 ? static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c) : c;
      }
    }
    while (text.size() < test.window && pick(4) != 0)
      text.insert(pick(text.size() + 1), 1, bytes[pick(bytes.size())]);
    if (text.empty() || text.size() > test.window) continue;
    StartWindow window(test.window);
    window.appendPlainRun(text.data(), text.size());
    SCOPED_TRACE("window \"" + text + "\", start \"" + std::string(test.start) + "\"");

    bool byWord = false, byBytes = false;
    const WordVerdict verdict = startsRegionIn(test, window.word(), byWord);
    const bool starts = startsRegion(test, text, text.back(), byBytes);
    if (verdict != WordVerdict::Undecided) {
      ++decided;
      found += starts;
      EXPECT_EQ(verdict == WordVerdict::Yes, starts);
      if (starts) {
        EXPECT_EQ(byWord, byBytes) << "read ahead";
      }
    }
    if (test.form != StartForm::Attribute) continue;
    for (std::size_t q = 0; q < text.size(); ++q) {
      if (text[q] != test.quote) continue;
      const std::size_t more =
          bytesUntilStartIn(test, window.word(), StartWindow::kCapacity - text.size() + q);
      if (more != kUndecided) {
        EXPECT_EQ(more, bytesUntilStart(test, text, q)) << "quote " << q;
      }
    }
  }
  // The words decide nearly every window, the starts among them too.
  EXPECT_GT(decided, 20000);
  EXPECT_GT(found, 2000);
}

}  // namespace

#include "platform/bytes.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

using namespace orvis::platform;
using orvis::testing::sj;
using V = std::vector<std::string>;

TEST(CommaList, SeparatorsQuotesAndEmptyFields) {
  EXPECT_EQ(splitCommaList("a@example.com,2"), (V{"a@example.com", "2"}));
  // A trailing blank ends the field; a trailing comma gives no field.
  EXPECT_EQ(splitCommaList("a@example.com,2 "), (V{"a@example.com", "2"}));
  EXPECT_EQ(splitCommaList("D,"), (V{"D"}));
  // Blanks separate too, and a comma after blanks is the same separator.
  EXPECT_EQ(splitCommaList("D,21 GB"), (V{"D", "21", "GB"}));
  EXPECT_EQ(splitCommaList("D, 21"), (V{"D", "21"}));
  EXPECT_EQ(splitCommaList("a ,b"), (V{"a", "b"}));
  // Leading commas and doubled commas give empty fields.
  EXPECT_EQ(splitCommaList(",a,,b"), (V{"", "a", "", "b"}));
  // Quotes group, doubled quotes inside stand for one.
  EXPECT_EQ(splitCommaList("\"a, b\",\"say \"\"hi\"\"\""), (V{"a, b", "say \"hi\""}));
  EXPECT_EQ(splitCommaList(""), V{});
  EXPECT_EQ(splitCommaList("   "), V{});
  EXPECT_EQ(splitCommaList("only-address"), (V{"only-address"}));
  // Control characters separate like blanks.
  EXPECT_EQ(splitCommaList("a\tb\r"), (V{"a", "b"}));
}

TEST(CommaList, ShiftJisBytesAreNeverSeparators) {
  // Trail bytes are never below 0x40, so no two-byte character splits.
  std::string name = sj("表示") + "," + sj("ソース");
  EXPECT_EQ(splitCommaList(name), (V{sj("表示"), sj("ソース")}));
}

TEST(CommandLine, WindowsRules) {
  EXPECT_EQ(splitCommandLine("/opt/o/urlcheck http://x/a b \"/opt/o/temp/srctemp.txt\" 0"),
            (V{"/opt/o/urlcheck", "http://x/a", "b", "/opt/o/temp/srctemp.txt", "0"}));
  EXPECT_EQ(splitCommandLine("  a\t\"b c\"d  "), (V{"a", "b cd"}));
  EXPECT_EQ(splitCommandLine("\"\""), (V{""}));
  // Backslashes are literal unless they stand before a quote.
  EXPECT_EQ(splitCommandLine("C:\\dir\\ x"), (V{"C:\\dir\\", "x"}));
  EXPECT_EQ(splitCommandLine("a\\\\\"b c\""), (V{"a\\b c"}));
  EXPECT_EQ(splitCommandLine("a\\\"b"), (V{"a\"b"}));
  EXPECT_EQ(splitCommandLine(""), V{});
}

TEST(CommandLine, QuotedWordsComeBackWhole) {
  struct Case {
    std::string word, quoted;
  };
  const Case cases[] = {
      {"/opt/orvis/", "/opt/orvis/"},  // nothing to quote
      {"C:\\dir\\", "C:\\dir\\"},
      {"", "\"\""},
      {"/opt/my orvis/", "\"/opt/my orvis/\""},
      {"a\tb", "\"a\tb\""},
      {"\"", "\"\\\"\""},
      {"da\"ta/", "\"da\\\"ta/\""},
      {"a\\\"b", "\"a\\\\\\\"b\""},  // a backslash before a quote: doubled, then the escape
      {"dir \\", "\"dir \\\\\""},    // before the closing quote: doubled
      {"\"\"", "\"\\\"\\\"\""},
      {sj("監視 フォルダ"), "\"" + sj("監視 フォルダ") + "\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(quoteArgument(c.word), c.quoted) << c.word;
    EXPECT_EQ(splitCommandLine(quoteArgument(c.word) + " x"), (V{c.word, "x"})) << c.word;
  }
  // Every word of up to five characters among those that matter comes back.
  const std::string alphabet = "a \t\"\\";
  std::vector<std::string> words = {""};
  for (size_t from = 0, length = 1; length <= 5; ++length) {
    const size_t to = words.size();
    for (size_t i = from; i < to; ++i)
      for (char c : alphabet) words.push_back(words[i] + c);
    from = to;
  }
  for (const auto& w : words)
    ASSERT_EQ(splitCommandLine(quoteArgument(w) + " " + quoteArgument(w)), (V{w, w})) << w;
}

TEST(Bytes, TrimParseCase) {
  EXPECT_EQ(trim(" \t\r\n abc \x01\r\n"), "abc");
  EXPECT_EQ(trim(sj("　全角")), sj("　全角"));  // a full-width blank is not trimmed
  EXPECT_EQ(parseInt("42"), 42);
  EXPECT_EQ(parseInt("-1"), -1);
  EXPECT_EQ(parseInt("+7"), 7);
  EXPECT_EQ(parseInt(""), std::nullopt);
  EXPECT_EQ(parseInt("abc"), std::nullopt);
  EXPECT_EQ(parseInt(" 5"), std::nullopt);
  EXPECT_EQ(parseInt("99999999999"), std::nullopt);
  EXPECT_EQ(asciiUpper("notepad.exe"), "NOTEPAD.EXE");
  // 'ア' in CP932 is 0x83 0x41: its trail byte is not the letter A.
  std::string a = sj("ア"), b = "\x83\x61";
  EXPECT_FALSE(cp932EqualsIgnoreCase(a, b));
  EXPECT_TRUE(cp932EqualsIgnoreCase("Common", "COMMON"));
  EXPECT_TRUE(cp932EqualsIgnoreCase(a + "Bc", a + "bC"));
  EXPECT_FALSE(cp932EqualsIgnoreCase("A" + a, "a" + b));
  EXPECT_EQ(replaceAll("%a%a", "%a", "x%a"), "x%ax%a");
}

TEST(Bytes, Lines) {
  EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(splitLines("a\r\n"), (V{"a"}));
  EXPECT_EQ(splitLines("\r\n"), (V{""}));
  EXPECT_EQ(splitLines(""), V{});
  EXPECT_EQ(joinLinesCrLf({"a", ""}), "a\r\n\r\n");
}

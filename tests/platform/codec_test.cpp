#include "platform/codec.h"

#include <gtest/gtest.h>

using namespace orvis::platform;

TEST(Codec, FixedTextsBecomeTheirShiftJisBytes) {
  EXPECT_EQ(SJIS("起動成功"), "\x8b\x4e\x93\xae\x90\xac\x8c\xf7");
  EXPECT_EQ(SJIS("№"), "\x87\x82");
  EXPECT_EQ(SJIS("ﾒｰﾙﾃｽﾄ"), "\xd2\xb0\xd9\xc3\xbd\xc4");
  EXPECT_EQ(toUtf8(SJIS("【ORVIS】")), "【ORVIS】");
}

TEST(Codec, UnmappableCharacters) {
  EXPECT_EQ(toCp932("a😀b"), "a?b");
  EXPECT_EQ(toCp932Exact("a😀b"), std::nullopt);
  EXPECT_EQ(toCp932WithReferences("日本😀"), SJIS("日本") + "&#128512;");
  EXPECT_EQ(toUtf8("a\x81"), "a\xEF\xBF\xBD");
}

TEST(Codec, CharactersWithMoreThanOneUnicodeFormKeepTheirShiftJisCode) {
  // Other converters (and EUC-JP pages) give the wave dash, the minus sign
  // and the double bar in the forms that CP932's own table does not name.
  EXPECT_EQ(toCp932("〜～−－‖∥¥¬"), "\x81\x60\x81\x60\x81\x7C\x81\x7C\x81\x61\x81\x61\x5C\x81\xCA");
  EXPECT_EQ(toCp932WithReferences("\xE6\x97\xA5\xFF\xE6\x97\xED\x95\x9C"),
            SJIS("日") + "???" + "&#54620;");  // one '?' per byte that starts nothing whole
}

TEST(Codec, LongConversionStopsWhenAsked) {
  std::string page(3 << 20, 'a');
  int asked = 0;
  auto stopAtSecondAsk = [&asked] { return ++asked == 2; };
  EXPECT_EQ(charsetToCp932(page, "UTF-8", stopAtSecondAsk), std::nullopt);
  asked = 0;
  EXPECT_EQ(charsetToCp932(page, "EUC-JP", stopAtSecondAsk), std::nullopt);
  EXPECT_EQ(charsetToCp932(page, "UTF-8", [] { return false; }), page);
}

TEST(Codec, OtherCharsets) {
  std::string eucjp = "\xc6\xfc\xcb\xdc";  // 日本 in EUC-JP
  EXPECT_EQ(charsetToCp932(eucjp, "EUC-JP"), SJIS("日本"));
  EXPECT_EQ(charsetToCp932("abc", "no-such-charset"), std::nullopt);
  EXPECT_EQ(charsetToCp932("a\x93\xfa", "UTF-8"), std::nullopt);
  EXPECT_EQ(charsetToCp932("a\x93\xfa", "utf-8"), std::nullopt);
  EXPECT_EQ(charsetToCp932("日本😀", "UTF-8"), SJIS("日本") + "&#128512;");
  EXPECT_TRUE(isValidUtf8("日本"));
  EXPECT_FALSE(isValidUtf8("\x93\xfa"));
}

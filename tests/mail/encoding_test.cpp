#include <gtest/gtest.h>

#include "mail/base64.h"
#include "mail/header_word.h"
#include "mail/iso2022jp.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "support/temp_dir.h"

using namespace orvis::mail;
using orvis::testing::sj;

namespace {
const std::string kIn = "\x1b$B";
const std::string kOut = "\x1b(B";

std::string base64(std::string_view s) {
  std::string out;
  encodeBase64(s, true, out);
  return out;
}

// Decodes one "=?iso-2022-jp?B?...?=" word back to UTF-8.
std::string decodeWord(const std::string& word) {
  const std::string prefix = "=?iso-2022-jp?B?";
  EXPECT_EQ(word.rfind(prefix, 0), 0u) << word;
  EXPECT_EQ(word.substr(word.size() - 2), "?=");
  std::string b64 = word.substr(prefix.size(), word.size() - prefix.size() - 2);
  static const std::string alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string bytes;
  unsigned int buffer = 0;
  int bits = 0;
  for (char c : b64) {
    if (c == '=') break;
    buffer = (buffer << 6) | static_cast<unsigned int>(alphabet.find(c));
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      bytes += static_cast<char>((buffer >> bits) & 0xFF);
    }
  }
  auto utf8 = orvis::platform::charsetToCp932(bytes, "ISO-2022-JP");
  EXPECT_TRUE(utf8.has_value()) << "not a complete ISO-2022-JP piece";
  return utf8 ? orvis::platform::toUtf8(*utf8) : std::string();
}
}  // namespace

TEST(Iso2022Jp, RunsOfTwoByteCharactersAreEnclosedOnce) {
  EXPECT_EQ(toIso2022Jp("abc"), "abc");
  EXPECT_EQ(toIso2022Jp(""), "");
  // 日本 = JIS 0x467C 0x4B5C
  EXPECT_EQ(toIso2022Jp(sj("日本") + "1"), kIn + "\x46\x7c\x4b\x5c" + kOut + "1");
  EXPECT_EQ(toIso2022Jp(sj("日本語")), kIn + "\x46\x7c\x4b\x5c\x38\x6c" + kOut);
  // A half-width katakana byte closes the run, is copied raw, a new run opens.
  EXPECT_EQ(toIso2022Jp(sj("日ｱ本")), kIn + "\x46\x7c" + kOut + "\xb1" + kIn + "\x4b\x5c" + kOut);
}

TEST(Iso2022Jp, RejectedCodesBecomeTheGetaMark) {
  EXPECT_EQ(jisCharOf(0x93, 0xFA).high, 0x46);
  EXPECT_EQ(jisCharOf(0x93, 0xFA).low, 0x7C);
  for (auto [lead, trail] :
       {std::pair{0x81, 0x3F}, {0x81, 0x7F}, {0x81, 0xFD}, {0xF0, 0x40}, {0xFA, 0x40}}) {
    JisChar j = jisCharOf(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
    EXPECT_EQ(j.high, 0x22) << lead << " " << trail;
    EXPECT_EQ(j.low, 0x2E);
  }
  // A lead byte at the very end is taken with a trail byte of 0.
  EXPECT_EQ(toIso2022Jp("a\x93"), "a" + kIn + "\x22\x2e" + kOut);
}

TEST(Iso2022Jp, AgreesWithIconvOverTheWholeJisTable) {
  // Two-byte characters of rows 1 to 84 that iconv knows map alike (every
  // seventh trail byte, which visits every row and both halves of a row).
  int compared = 0;
  for (int lead = 0x81; lead <= 0xEA; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; trail += 7) {
      if (trail == 0x7F) continue;
      std::string sjis{static_cast<char>(lead), static_cast<char>(trail)};
      auto viaIconv = orvis::platform::charsetToCp932(sjis, "SHIFT_JIS");
      std::string utf8 = orvis::platform::toUtf8(sjis);
      if (!viaIconv || utf8.find("\xEF\xBF\xBD") != std::string::npos) continue;
      std::string iso = toIso2022Jp(sjis);
      auto back = orvis::platform::charsetToCp932(iso, "ISO-2022-JP");
      if (!back) continue;  // NEC and IBM extensions are not in ISO-2022-JP
      EXPECT_EQ(*back, sjis) << std::hex << lead << " " << trail;
      ++compared;
    }
  }
  EXPECT_GT(compared, 800);
}

TEST(Iso2022Jp, FittingHeadsAgreeWithTheConversion) {
  // Every head is the longest run of whole characters whose converted form,
  // escapes included, fits; a lone lead byte at the end becomes a geta mark.
  std::string text = sj("ab日本ｱ語 c漢字>") + "x\x93";
  for (size_t max = 1; max <= 40; ++max) {
    size_t head = fittingHead(text, max);
    ASSERT_GE(head, 1u);
    ASSERT_LE(head, text.size());
    size_t next = head < text.size() ? head + characterLength(text, head) : head;
    if (head > characterLength(text, 0)) {
      EXPECT_LE(toIso2022Jp(text.substr(0, head)).size(), max) << max;
    }
    if (next > head) {
      EXPECT_GT(toIso2022Jp(text.substr(0, next)).size(), max) << max;
    }
  }
  EXPECT_EQ(fittingHead("", 5), 0u);
  EXPECT_EQ(fittingHead(sj("日本"), 7), 2u);  // one character even when it does not fit
}

TEST(Base64, StandardAlphabetAndPadding) {
  EXPECT_EQ(base64("a"), "YQ==");
  EXPECT_EQ(base64("ab"), "YWI=");
  EXPECT_EQ(base64("abc"), "YWJj");
  EXPECT_EQ(base64(""), "");
  EXPECT_EQ(base64("\xff\xfe\xfd"), "//79");
  std::string out = "stale";
  EXPECT_FALSE(encodeBase64("ab", false, out));
  EXPECT_EQ(out, "");
  EXPECT_TRUE(encodeBase64("abc", false, out));
  EXPECT_EQ(out, "YWJj");
}

TEST(HeaderWord, ShortTextsKeepOneWord) {
  EXPECT_EQ(encodeHeaderWord("abc"), "=?iso-2022-jp?B?YWJj?=");
  EXPECT_EQ(encodeHeaderWord(""),
            "=?iso-2022-jp?B?"
            "?=");
  EXPECT_EQ(encodeHeaderText(""),
            "=?iso-2022-jp?B?"
            "?=");
  std::string subject = sj("【ORVIS】システムからメールグループ[監視担当]への連絡です。");
  EXPECT_EQ(encodeHeaderText(subject), encodeHeaderWord(toIso2022Jp(subject)));
  EXPECT_EQ(decodeWord(encodeHeaderText(subject)),
            "【ORVIS】システムからメールグループ[監視担当]への連絡です。");
}

TEST(HeaderWord, LongTextsSplitIntoCompleteFoldedWords) {
  std::string utf8;
  for (int i = 0; i < 12; ++i) utf8 += "監視対象ページの更新を検出abc";
  std::string sjis = sj(utf8);
  ASSERT_GT(toIso2022Jp(sjis).size(), kHeaderWordCapacity);
  std::string header = encodeHeaderText(sjis);
  std::string decoded;
  size_t words = 0;
  size_t start = 0;
  while (true) {
    size_t fold = header.find("\r\n ", start);
    std::string word =
        header.substr(start, fold == std::string::npos ? std::string::npos : fold - start);
    EXPECT_LE(word.size(), kMaxEncodedWordLength);
    decoded += decodeWord(word);
    ++words;
    if (fold == std::string::npos) break;
    start = fold + 3;
  }
  EXPECT_GT(words, 4u);
  EXPECT_EQ(decoded, utf8);
}

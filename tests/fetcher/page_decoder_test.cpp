#include "fetcher/page_decoder.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

using namespace orvis::fetcher;
using orvis::testing::sj;

namespace {
const std::string kJapanese = "日本語のページ";  // UTF-8 source text
// The same words in EUC-JP.
const std::string kJapaneseEuc = "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xA5\xDA\xA1\xBC\xA5\xB8";
}  // namespace

TEST(PageDecoder, Utf8PageBecomesCp932WithReferencesForTheRest) {
  std::string body = "<p>" + kJapanese + " \xF0\x9F\x98\x80 caf\xC3\xA9 \\~</p>";
  std::string expected = "<p>" + sj(kJapanese) + " &#128512; caf&#233; \\~</p>";
  for (const char* type : {"text/html; charset=utf-8", "text/html;charset=\"UTF-8\"",
                           "text/html; Charset=utf8", "text/html"}) {
    auto page = decodePage(body, type);
    EXPECT_EQ(page.bytes, expected) << type;
  }
  EXPECT_EQ(decodePage(body, "text/html; charset=utf-8").source, "Content-Type");
  EXPECT_EQ(decodePage(body, "text/html").source, "UTF-8 check");
  // The byte-order mark is a signature, not a character of the page.
  EXPECT_EQ(decodePage("\xEF\xBB\xBF" + body, "text/html").bytes, expected);
  EXPECT_EQ(decodePage("\xEF\xBB\xBF" + body, "text/html").source, "BOM");
  EXPECT_EQ(decodePage("\xEF\xBB\xBF" + body, "text/html; charset=utf-8").bytes, expected);
  // Plain ASCII comes through untouched.
  std::string ascii = "<html>\r\n<a href=\"x\\y\">~</a>\r\n</html>\r\n";
  EXPECT_EQ(decodePage(ascii, "text/html").bytes, ascii);
}

TEST(PageDecoder, ShiftJisUnderAnyNameStaysByteForByte) {
  // Includes a NEC special character, a byte sequence no converter would
  // round-trip, and a lone half-width kana.
  std::string body = sj("①～表示") + "\x81\xFF" + "\xB1";
  for (const char* name :
       {"Shift_JIS", "shift-jis", "SJIS", "x-sjis", "Windows-31J", "CP932", "MS932"}) {
    auto page = decodePage(body, std::string("text/html; charset=") + name);
    EXPECT_EQ(page.bytes, body) << name;
    EXPECT_EQ(page.source, "Content-Type");
  }
  std::string meta =
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">" + body;
  EXPECT_EQ(decodePage(meta, "text/html").bytes, meta);
  EXPECT_EQ(decodePage(meta, "text/html").source, "meta");
  // Without any hint a non-UTF-8 page is kept as received.
  auto bare = decodePage(body, "");
  EXPECT_EQ(bare.bytes, body);
  EXPECT_EQ(bare.source, "as received");
}

TEST(PageDecoder, CharsetFromMarkupInTheFirstFourKilobytes) {
  std::string eucBody = "<p>" + kJapaneseEuc + "</p>";
  std::string euc = "<p>" + sj(kJapanese) + "</p>";

  std::string head = "<html><head><meta charset=\"EUC-JP\"></head>";
  auto page = decodePage(head + eucBody, "text/html");
  EXPECT_EQ(page.bytes, head + euc);
  EXPECT_EQ(page.charset, "euc-jp");
  EXPECT_EQ(page.source, "meta");

  std::string equiv = "<META HTTP-EQUIV='Content-Type' CONTENT='text/html;charset=euc-jp'>";
  EXPECT_EQ(decodePage(equiv + eucBody, "").bytes, equiv + euc);
  std::string xml = "<?xml version=\"1.0\" encoding=\"EUC-JP\"?>\n<rss>";
  EXPECT_EQ(decodePage(xml + eucBody, "application/rss+xml").bytes, xml + euc);

  // A meta tag beyond the first 4 KB does not count.
  std::string late = std::string(4096, ' ') + head + eucBody;
  EXPECT_EQ(decodePage(late, "text/html").source, "as received");
  EXPECT_EQ(decodePage(late, "text/html").bytes, late);
  // Another attribute with "charset" in its name is not the charset.
  EXPECT_EQ(charsetFromMarkup("<meta name=\"charset-note\" content=\"x\"><meta charset=utf-8>"),
            "utf-8");
}

TEST(PageDecoder, AHintThatDoesNotFitIsPassedOver) {
  std::string sjisText = sj("検索結果");
  // A server that claims UTF-8 for a Shift-JIS page: the page's own meta wins.
  std::string meta = "<meta charset=\"shift_jis\">" + sjisText;
  EXPECT_EQ(decodePage(meta, "text/html; charset=utf-8").bytes, meta);
  EXPECT_EQ(decodePage(meta, "text/html; charset=utf-8").source, "meta");
  // ... and without one the bytes stay, rather than turning into '?'.
  EXPECT_EQ(decodePage(sjisText, "text/html; charset=utf-8").bytes, sjisText);
  // A charset nobody knows falls back to the next hint.
  std::string utf8 = "<p>" + kJapanese + "</p>";
  EXPECT_EQ(decodePage(utf8, "text/html; charset=x-no-such-charset").bytes,
            "<p>" + sj(kJapanese) + "</p>");
  // A meta tag readable as ASCII that claims UTF-16 cannot be right.
  std::string claim = "<meta charset=\"UTF-16\"><p>plain text</p>";
  EXPECT_EQ(decodePage(claim, "text/html").bytes, claim);
}

TEST(PageDecoder, Utf16WithByteOrderMark) {
  std::string le("\xFF\xFE<\0p\0>\0\xE5\x65\x2C\x67", 12);  // "<p>日本" in UTF-16LE
  EXPECT_EQ(decodePage(le, "text/html").bytes, "<p>" + sj("日本"));
  std::string be("\xFE\xFF\0<\0p\0>\x65\xE5\x67\x2C", 12);
  EXPECT_EQ(decodePage(be, "text/html; charset=utf-16").bytes, "<p>" + sj("日本"));
}

TEST(PageDecoder, ContentTypeParameter) {
  EXPECT_EQ(charsetFromContentType("text/html; charset=EUC-JP"), "euc-jp");
  EXPECT_EQ(charsetFromContentType("text/html ;charset = 'iso-2022-jp' ; q=1"), "iso-2022-jp");
  EXPECT_EQ(charsetFromContentType("text/html; x-charset=bad; charset=utf-8"), "utf-8");
  EXPECT_FALSE(charsetFromContentType("text/html"));
  EXPECT_FALSE(charsetFromContentType("text/html; charset="));
  EXPECT_TRUE(isShiftJisName("Windows-31J"));
  EXPECT_FALSE(isShiftJisName("euc-jp"));
}

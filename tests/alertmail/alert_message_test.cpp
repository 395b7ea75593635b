#include "alertmail/alert_message.h"

#include <gtest/gtest.h>

#include "alertmail/mail_text.h"
#include "mail/mail_stamps.h"
#include "platform/bytes.h"
#include "platform/codec.h"
#include "support/temp_dir.h"

namespace orvis::alertmail {
namespace {

using testing::sj;

AlertContent sample() {
  AlertContent c;
  c.subject = sj("警報テスト");
  c.senderName = sj("監視");
  c.senderAddress = "orvis@example.jp";
  c.bodyLines = {sj("日本"), "", ".", "..x"};
  return c;
}

std::string build(const AlertContent& c) {
  return buildAlertMessage(c, "to@example.jp", "Mon, 07 Dec 2026 09:05:03 +0900",
                           "<id@example.jp>");
}

std::string fromBase64(std::string_view in) {
  static const std::string abc = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  int bits = 0, value = 0;
  for (char ch : in) {
    auto pos = abc.find(ch);
    if (pos == std::string::npos) break;
    value = value << 6 | static_cast<int>(pos);
    if ((bits += 6) >= 8) out += static_cast<char>(value >> (bits -= 8) & 0xFF);
  }
  return out;
}

// The CP932 text a header value decodes to.
std::string decodeHeader(const std::string& value) {
  std::string text;
  for (const std::string& word : platform::splitLines(value)) {
    std::string w = platform::trim(word);
    EXPECT_LE(w.size(), 75u);
    if (w.rfind("=?iso-2022-jp?B?", 0) != 0) return "<not an encoded word: " + w + ">";
    text += *platform::charsetToCp932(fromBase64(w.substr(16, w.size() - 18)), "ISO-2022-JP");
  }
  return text;
}

TEST(AlertMessage, HeadersInPostivaOrderThenDateAndId) {
  EXPECT_EQ(build(sample()),
            "subject: =?iso-2022-jp?B?GyRCN1lKcyVGJTklSBsoQg==?=\r\n"
            "to: to@example.jp\r\n"
            "from: =?iso-2022-jp?B?GyRCNEY7axsoQg==?= <orvis@example.jp>\r\n"
            "Mime-Version: 1.0\r\n"
            "Content-Type: text/plain;charset=\"iso-2022-jp\"\r\n"
            "Content-Transfer-Encoding: 7bit\r\n"
            "X-Mailer: Mailer(Original)\r\n"
            "Date: Mon, 07 Dec 2026 09:05:03 +0900\r\n"
            "Message-ID: <id@example.jp>\r\n"
            "\r\n"
            "\x1b$BF|K\\\x1b(B\r\n"
            "\r\n"
            ".\r\n"  // the transport dot-stuffs; stuffing here would double it
            "..x\r\n");
}

TEST(AlertMessage, HtmlTypeAndEmptyTexts) {
  AlertContent c = sample();
  c.html = true;
  c.subject.clear();
  c.senderName.clear();
  std::string m = build(c);
  EXPECT_NE(m.find("\r\nContent-Type: text/html;charset=\"iso-2022-jp\"\r\n"), std::string::npos);
  // No empty encoded word: mailers would show it raw.
  EXPECT_EQ(m.rfind("subject: \r\nto: to@example.jp\r\nfrom: <orvis@example.jp>\r\n", 0), 0u);
}

TEST(AlertMessage, LongSubjectFoldsIntoWholeEncodedWords) {
  AlertContent c = sample();
  c.subject = "";
  for (int i = 0; i < 40; ++i) c.subject += sj("監視ABC");
  std::string m = build(c);
  std::string value = m.substr(9, m.find("\r\nto: ") - 9);
  EXPECT_NE(value.find("\r\n "), std::string::npos);
  EXPECT_EQ(decodeHeader(value), c.subject);
}

TEST(AlertMessage, LongBodyLinesFoldWithinSmtpLimitAndLoseNothing) {
  std::string ascii, japanese;
  for (int i = 0; i < 400; ++i) ascii += "<td>x</td> ";
  for (int i = 0; i < 700; ++i) japanese += sj(i % 7 ? "日" : "a");
  for (const std::string& line : {ascii, japanese}) {
    AlertContent c = sample();
    c.bodyLines = {line};
    std::string m = build(c);
    std::string joined;
    for (const std::string& out : platform::splitLines(m.substr(m.find("\r\n\r\n") + 4))) {
      EXPECT_LE(out.size(), kMaxMailLine);
      joined += *platform::charsetToCp932(out, "ISO-2022-JP");
    }
    EXPECT_EQ(joined, line);
  }
  // Words and tags stay whole where a blank or '>' allows.
  for (const std::string& piece : foldLine(ascii, kMaxMailLine)) {
    EXPECT_TRUE(piece.back() == ' ' || piece.back() == '>') << piece;
  }
}

TEST(MailText, HalfwidthKanaWidenedSoTheMessageStaysSevenBit) {
  EXPECT_EQ(widenHalfwidthKana(sj("ﾃｽﾄ ｶﾞｷﾞﾊﾟｳﾞ ｱﾞﾞ ﾟ")), sj("テスト ガギパヴ ア゛゛ ゜"));
  EXPECT_EQ(widenHalfwidthKana(std::string("a\x80\x1b"
                                           "b\xa0\xfd",
                                           6)),
            "a??b??");
  EXPECT_EQ(widenHalfwidthKana(sj("漢字abc")), sj("漢字abc"));
  for (unsigned char c :
       buildAlertMessage({sj("ｱﾗｰﾄ"), {sj("ﾃｽﾄ")}, false, sj("ｶﾝｼ"), "a@b"}, "t@b", "d", "<i>")) {
    EXPECT_LT(c, 0x80);
  }
}

TEST(MailStamps, DateAndMessageIdForms) {
  using namespace mail;
  EXPECT_EQ(formatMailDate({2026, 12, 7, 9, 5, 3, 42}, 540), "Mon, 07 Dec 2026 09:05:03 +0900");
  EXPECT_EQ(formatMailDate({2024, 2, 29, 23, 59, 0, 0}, -210), "Thu, 29 Feb 2024 23:59:00 -0330");
  EXPECT_EQ(addressDomain("orvis@Mail.example.jp"), "Mail.example.jp");
  EXPECT_EQ(addressDomain("orvis"), "");
  EXPECT_EQ(addressDomain("a@b c"), "");
  SystemMailStamps stamps("alertmail.invalid");
  std::string first = stamps.messageId("example.jp");
  EXPECT_NE(first, stamps.messageId("example.jp"));
  EXPECT_EQ(first.front(), '<');
  EXPECT_EQ(first.substr(first.size() - 12), "@example.jp>");
  EXPECT_NE(stamps.messageId("").find("@alertmail.invalid>"), std::string::npos);
}

}  // namespace
}  // namespace orvis::alertmail

// The message text after DATA: header case and order, the body conversion,
// dot-stuffing and long subjects.

#include "mailsender/message_text.h"

#include <gtest/gtest.h>

#include "mail/header_word.h"
#include "support/temp_dir.h"

using orvis::postiva::composeMessage;
using orvis::postiva::MessageStamp;
using orvis::postiva::MessageText;
using orvis::testing::sj;

namespace {
const MessageStamp kStamp{"Mon, 07 Dec 2026 09:05:03 +0900", "<n@x.test>"};
// Every message carries its Date and Message-ID.
const std::string kHeaderTail =
    "Mime-Version: 1.0\r\n"
    "Content-Type: text/plain;charset=\"iso-2022-jp\"\r\n"
    "Content-Transfer-Encoding: 7bit\r\n"
    "X-Mailer: Mailer(Original)\r\n"
    "Date: Mon, 07 Dec 2026 09:05:03 +0900\r\n"
    "Message-ID: <n@x.test>\r\n"
    "\r\n";
}  // namespace

TEST(MessageText, HeadersInTheirCaseAndOrderThenTheConvertedBody) {
  MessageText m = composeMessage("abc", "to@x.test", sj("日本"), "from@x.test",
                                 {sj("日本語1"), "", "plain", sj("ｱ")}, kStamp);
  EXPECT_EQ(m.subjectLine, "subject: =?iso-2022-jp?B?YWJj?=");
  EXPECT_EQ(m.wire,
            "subject: =?iso-2022-jp?B?YWJj?=\r\n"
            "to: to@x.test\r\n"
            "from: =?iso-2022-jp?B?GyRCRnxLXBsoQg==?= <from@x.test>\r\n" +
                kHeaderTail +
                "\x1b$BF|K\\8l\x1b(B1\r\n"
                "\r\n"
                "plain\r\n"
                "\xb1\r\n"  // half-width katakana stays the raw byte
                ".\r\n");
}

TEST(MessageText, LinesStartingWithADotAreStuffed) {
  MessageText m = composeMessage("s", "t", "n", "f", {".", "..", ".a", "a.", " ."}, kStamp);
  std::string body = m.wire.substr(m.wire.find("\r\n\r\n") + 4);
  EXPECT_EQ(body, "..\r\n...\r\n..a\r\na.\r\n .\r\n.\r\n");
}

TEST(MessageText, EmptySubjectAndBodyStillMakeAMessage) {
  MessageText m = composeMessage("", "t", "", "f", {}, kStamp);
  EXPECT_EQ(m.subjectLine,
            "subject: =?iso-2022-jp?B?"
            "?=");
  EXPECT_EQ(m.wire.substr(m.wire.size() - 7), "\r\n\r\n.\r\n");
  EXPECT_NE(m.wire.find("from: =?iso-2022-jp?B?"
                        "?= <f>\r\n"),
            std::string::npos);
}

TEST(MessageText, LongSubjectAndSenderFoldOntoContinuationLines) {
  std::string utf8;
  for (int i = 0; i < 10; ++i) utf8 += "監視対象のページが更新されました";
  MessageText m = composeMessage(sj(utf8), "t@x", sj(utf8), "f@x", {"b"}, kStamp);
  // Every physical header line is short; continuation lines start with a blank.
  std::string headers = m.wire.substr(0, m.wire.find("\r\n\r\n") + 2);
  size_t start = 0;
  int continuations = 0;
  while (start < headers.size()) {
    size_t end = headers.find("\r\n", start);
    std::string line = headers.substr(start, end - start);
    EXPECT_LE(line.size(), 9 + orvis::mail::kMaxEncodedWordLength) << line;
    if (line[0] == ' ') ++continuations;
    start = end + 2;
  }
  EXPECT_GT(continuations, 8);
  EXPECT_EQ(m.subjectLine, "subject: " + orvis::mail::encodeHeaderText(sj(utf8)));
  EXPECT_NE(m.wire.find(" <f@x>\r\nMime-Version"), std::string::npos);
}

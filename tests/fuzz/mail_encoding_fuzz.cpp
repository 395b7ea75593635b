// The mail encoders on any Shift-JIS text, read back by a decoder of their
// own here: Base64 gives back its bytes; ISO-2022-JP gives back the text,
// with every two-byte character that JIS X 0208 cannot hold as the geta
// mark; the encoded words of a header give back the same text, each at most
// 75 characters and a complete ISO-2022-JP piece when the text needs more
// than one. The message as Postiva sends it ends where its end mark is.
//
// Input: the text. Its lines are the body of the message.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "mail/base64.h"
#include "mail/header_word.h"
#include "mail/iso2022jp.h"
#include "mailsender/message_text.h"
#include "platform/bytes.h"
#include "platform/codec.h"

namespace mail = orvis::mail;
namespace platform = orvis::platform;

namespace {

constexpr std::string_view kToJis = "\x1b$B";
constexpr std::string_view kToAscii = "\x1b(B";
constexpr std::string_view kGeta = "\x81\xac";  // the geta mark in Shift-JIS

std::string decodeBase64(std::string_view text) {
  static constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  FUZZ_REQUIRE(text.size() % 4 == 0);
  std::string bytes;
  unsigned buffer = 0;
  int bits = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '=') {
      FUZZ_REQUIRE(i + 2 >= text.size() && text.substr(i).find_first_not_of('=') == text.npos);
      break;
    }
    const std::size_t digit = kAlphabet.find(text[i]);
    FUZZ_REQUIRE(digit != kAlphabet.npos);
    buffer = (buffer << 6 | static_cast<unsigned>(digit)) & 0xFFFFFF;
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      bytes += static_cast<char>(buffer >> bits & 0xFF);
    }
  }
  return bytes;
}

// ISO-2022-JP as the encoder writes it back to Shift-JIS: between ESC $ B
// and ESC ( B pairs of JIS bytes, every other byte as it stands. The piece
// must end in ASCII.
std::string decodeIso2022Jp(std::string_view iso) {
  std::string sjis;
  bool twoByte = false;
  while (!iso.empty()) {
    if (iso.starts_with(kToJis) || iso.starts_with(kToAscii)) {
      twoByte = iso.starts_with(kToJis);
      iso.remove_prefix(3);
      continue;
    }
    if (!twoByte) {
      sjis += iso.front();
      iso.remove_prefix(1);
      continue;
    }
    FUZZ_REQUIRE(iso.size() >= 2);
    const unsigned high = static_cast<unsigned char>(iso[0]);
    const unsigned low = static_cast<unsigned char>(iso[1]);
    FUZZ_REQUIRE(high >= 0x21 && high <= 0x7E && low >= 0x21 && low <= 0x7E);
    const unsigned row = (high - 0x21) / 2;
    sjis += static_cast<char>(row < 0x1F ? 0x81 + row : 0xC1 + row);
    if (high % 2 == 1) {
      sjis += static_cast<char>(low + (low >= 0x60 ? 0x20 : 0x1F));
    } else {
      sjis += static_cast<char>(low + 0x7E);
    }
    iso.remove_prefix(2);
  }
  FUZZ_REQUIRE(!twoByte);
  return sjis;
}

// The text as it comes back: a two-byte character JIS cannot hold, and a
// lead byte without its trail byte, as the geta mark.
std::string expectedText(std::string_view sjis) {
  std::string out;
  for (std::size_t i = 0; i < sjis.size(); ++i) {
    const auto c = static_cast<unsigned char>(sjis[i]);
    if (!platform::isLeadByte(c)) {
      out += sjis[i];
      continue;
    }
    const auto trail = i + 1 < sjis.size() ? static_cast<unsigned char>(sjis[i + 1]) : 0;
    const mail::JisChar j = mail::jisCharOf(c, trail);
    const bool geta = j.high == 0x22 && j.low == 0x2E;
    out += geta ? std::string(kGeta) : std::string(sjis.substr(i, 2));
    ++i;
  }
  return out;
}

void checkHeaderText(std::string_view text) {
  static constexpr std::string_view kPrefix = "=?iso-2022-jp?B?";
  const std::string header = mail::encodeHeaderText(text);
  const bool folded = header.find("\r\n ") != std::string::npos;
  std::string decoded;
  for (std::size_t start = 0; start <= header.size();) {
    const std::size_t end = std::min(header.find("\r\n ", start), header.size());
    const std::string_view word = std::string_view(header).substr(start, end - start);
    FUZZ_REQUIRE(word.starts_with(kPrefix) && word.ends_with("?="));
    const std::string iso =
        decodeBase64(word.substr(kPrefix.size(), word.size() - kPrefix.size() - 2));
    decoded += decodeIso2022Jp(iso);
    if (folded) FUZZ_REQUIRE(word.size() <= mail::kMaxEncodedWordLength);
    start = end + 3;
  }
  FUZZ_REQUIRE(decoded == expectedText(text));
}

void checkMessage(std::string_view text) {
  const std::vector<std::string> body = platform::splitLines(text);
  const std::string subject = body.empty() ? std::string() : body.front();
  const std::string wire =
      orvis::postiva::composeMessage(subject, "a@rcpt.test", subject, "s@send.test", body,
                                     {"Mon, 07 Dec 2026 09:05:03 +0900", "<n@send.test>"})
          .wire;
  FUZZ_REQUIRE(wire.ends_with("\r\n.\r\n"));
  FUZZ_REQUIRE(wire.find("\r\n.\r\n") == wire.size() - 5);
  // Line ends are CR LF and nothing else.
  for (std::size_t i = 0; i < wire.size(); ++i) {
    if (wire[i] == '\r') FUZZ_REQUIRE(i + 1 < wire.size() && wire[i + 1] == '\n');
    if (wire[i] == '\n') FUZZ_REQUIRE(i > 0 && wire[i - 1] == '\r');
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  std::string encoded;
  FUZZ_REQUIRE(mail::encodeBase64(text, false, encoded) == (size % 3 == 0));
  FUZZ_REQUIRE(size % 3 == 0 || encoded.empty());
  FUZZ_REQUIRE(mail::encodeBase64(text, true, encoded) && decodeBase64(encoded) == text);

  // An escape byte in the text itself reads as an escape of the encoding;
  // such texts round-trip only as far as nothing crashes.
  const std::string iso = mail::toIso2022Jp(text);
  if (text.find('\x1b') == std::string_view::npos) {
    FUZZ_REQUIRE(decodeIso2022Jp(iso) == expectedText(text));
    checkHeaderText(text);
  }
  checkMessage(text);
  return 0;
}

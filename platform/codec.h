#pragma once
// Conversions between the CP932 (Shift-JIS) bytes that every file, log line
// and fixed text of the system is made of, and UTF-8, which the window
// toolkit and the operating system's names speak. One place does them all.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orvis::platform {

// UTF-8 to CP932. A character CP932 cannot hold becomes '?'.
std::string toCp932(std::string_view utf8);

// UTF-8 to CP932; nullopt when any character cannot be held.
std::optional<std::string> toCp932Exact(std::string_view utf8);

// UTF-8 to CP932; a character CP932 cannot hold becomes an HTML numeric
// character reference ("&#128512;"). Invalid UTF-8 bytes become '?'.
std::string toCp932WithReferences(std::string_view utf8);

// UTF-8 to CP932 that keeps different texts apart: a text CP932 holds comes
// out exactly as toCp932 gives it; a character CP932 cannot hold becomes
// its hexadecimal numeric reference ("&#x1F600;"), and a byte that starts
// no valid UTF-8 sequence the reference of its escape code U+DC80..U+DCFF
// ("&#xDCFF;"), never the one of a real character.
std::string toCp932Distinct(std::string_view utf8);

// A text from outside the system (a server's reply, a library's message)
// for a CP932 log line: UTF-8 becomes CP932 ('?' where CP932 has no
// character); a text that is not UTF-8 is taken for CP932 already and stays.
std::string peerTextToCp932(std::string_view text);

// CP932 to UTF-8. A byte sequence that is not CP932 becomes U+FFFD.
std::string toUtf8(std::string_view cp932);

// toUtf8 for many short texts (the lines of a page), character by
// character from a table of the characters met, with one converter kept
// for those not met yet.
class Utf8Decoder {
 public:
  struct Converter;

  Utf8Decoder();
  ~Utf8Decoder();
  Utf8Decoder(const Utf8Decoder&) = delete;
  Utf8Decoder& operator=(const Utf8Decoder&) = delete;
  // Appends the UTF-8 form of `cp932` to `out`.
  void append(std::string_view cp932, std::string& out);

 private:
  std::unique_ptr<Converter> converter_;
};

// Asked now and then during a long conversion; true gives it up.
using StopCheck = std::function<bool()>;

// Any charset iconv knows to CP932, each unmappable character as a numeric
// character reference; nullopt when iconv does not know the charset, the
// input is not valid in it, or `stop` gave the conversion up. Linear in the
// input, whatever characters it holds.
std::optional<std::string> charsetToCp932(std::string_view bytes, const std::string& charset,
                                          const StopCheck& stop = {});

// charsetToCp932 for a text that comes in pieces, cut anywhere: the pieces
// come out as the whole text would. `stop` is asked about every 1 MiB.
class Cp932Stream {
 public:
  enum class Result { Fits, DoesNotFit, Stopped };

  explicit Cp932Stream(const std::string& charset, StopCheck stop = {});
  ~Cp932Stream();
  Cp932Stream(const Cp932Stream&) = delete;
  Cp932Stream& operator=(const Cp932Stream&) = delete;

  // Appends the CP932 form of the next piece to `out`. Once the text is
  // found not to be valid in the charset (or the charset is unknown), or
  // once `stop` gave up, that stays the answer.
  Result add(std::string_view piece, std::string& out);
  // The end of the text: a text that ends inside a character does not fit.
  Result finish(std::string& out);

 private:
  struct Decoder;
  bool convert(std::string_view piece, bool last, std::string& out);

  std::unique_ptr<Decoder> decoder_;  // none for UTF-8 itself
  StopCheck stop_;
  Result state_ = Result::Fits;
  size_t sinceCheck_ = 0;
  std::string pending_;      // the start of a character cut off, in the charset
  std::string utf8Pending_;  // the same in UTF-8, on its way to CP932
};

// True when the bytes form valid UTF-8.
bool isValidUtf8(std::string_view bytes);

// True for a CP932 lead byte (0x81-0x9F, 0xE0-0xFC).
constexpr bool isLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace orvis::platform

// A fixed text of the system, written once in UTF-8 in the source and held
// as its CP932 bytes from its first use on.
#define SJIS(utf8literal)                                                         \
  ([]() -> const std::string& {                                                   \
    static const std::string converted = ::orvis::platform::toCp932(utf8literal); \
    return converted;                                                             \
  }())

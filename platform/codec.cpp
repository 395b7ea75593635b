#include "codec.h"

#include <iconv.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace orvis::platform {
namespace {

// How often a long conversion asks whether to give up: about every 1 MiB.
constexpr size_t kStopCheckBytes = size_t(1) << 20;

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  enum class Stop { Done, Invalid, Incomplete };

  // Converts as much as possible; `in` is advanced past what was consumed.
  Stop run(std::string_view& in, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    const Stop end = feed(in, out);
    if (end == Stop::Done) flush(out);
    return end;
  }

  // run() for one piece of a longer text: the state is neither reset
  // before nor flushed after, and a character cut off at the end of the
  // piece (Incomplete) stays in `in`.
  Stop feed(std::string_view& in, std::string& out) {
    char buffer[4096];
    while (!in.empty()) {
      char* src = const_cast<char*>(in.data());
      size_t srcLeft = in.size();
      char* dst = buffer;
      size_t dstLeft = sizeof buffer;
      size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      int err = errno;
      out.append(buffer, static_cast<size_t>(dst - buffer));
      in.remove_prefix(in.size() - srcLeft);
      if (r != static_cast<size_t>(-1)) continue;
      if (err == E2BIG) continue;
      if (err == EILSEQ) return Stop::Invalid;
      if (err == EINVAL) return Stop::Incomplete;
      return Stop::Invalid;
    }
    return Stop::Done;
  }

  // The end of the text: what a shift state still holds.
  void flush(std::string& out) {
    char buffer[4096];
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, static_cast<size_t>(dst - buffer));
  }

 private:
  iconv_t cd_;
};

// Length of the UTF-8 sequence that starts at `s`, 0 when it is not valid.
size_t utf8SequenceLength(std::string_view s, char32_t* cp) {
  auto b = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char c = b(0);
  size_t len = 0;
  char32_t v = 0;
  if (c < 0x80) {
    *cp = c;
    return 1;
  } else if ((c & 0xE0) == 0xC0) {
    len = 2;
    v = c & 0x1F;
  } else if ((c & 0xF0) == 0xE0) {
    len = 3;
    v = c & 0x0F;
  } else if ((c & 0xF8) == 0xF0) {
    len = 4;
    v = c & 0x07;
  } else {
    return 0;
  }
  if (s.size() < len) return 0;
  for (size_t i = 1; i < len; ++i) {
    if ((b(i) & 0xC0) != 0x80) return 0;
    v = (v << 6) | (b(i) & 0x3F);
  }
  static const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
  if (v < minimum[len] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0;
  *cp = v;
  return len;
}

// The CP932 form of each character, asked of iconv once per character and
// kept for the life of the process. iconv gives up at every character CP932
// cannot hold, and starting it again costs some 20 us, so a page of Korean
// or emoji took minutes; one look-up per character keeps any text linear.
class Cp932Characters {
 public:
  // Appends the character's CP932 bytes; false when CP932 has none.
  bool append(char32_t cp, std::string_view utf8, std::string& out) {
    if (cp > 0xFFFF) return false;  // CP932 holds no character beyond the BMP
    uint32_t& entry = entries_[cp];
    if (entry == kUnknown) entry = ask(utf8);
    if (entry == kNone) return false;
    if (entry & kTwoBytes) out += static_cast<char>((entry >> 8) & 0xFF);
    out += static_cast<char>(entry & 0xFF);
    return true;
  }

  std::mutex& lock() { return mutex_; }

 private:
  static constexpr uint32_t kUnknown = 0;
  static constexpr uint32_t kNone = 1;
  static constexpr uint32_t kKnown = 0x10000;
  static constexpr uint32_t kTwoBytes = 0x20000;

  uint32_t ask(std::string_view utf8) {
    std::string bytes;
    std::string_view in = utf8;
    if (!iconv_.ok() || iconv_.run(in, bytes) != Iconv::Stop::Done) return kNone;
    auto b = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() == 1) return kKnown | b(0);
    if (bytes.size() == 2) return kKnown | kTwoBytes | (b(0) << 8) | b(1);
    return kNone;
  }

  std::mutex mutex_;
  std::vector<uint32_t> entries_ = std::vector<uint32_t>(0x10000, kUnknown);
  Iconv iconv_{"CP932", "UTF-8"};
};

Cp932Characters& cp932Characters() {
  static Cp932Characters characters;
  return characters;
}

// The length of the UTF-8 sequence that lead byte `c` starts; 0 for a
// byte that starts none.
size_t utf8LengthFromLead(unsigned char c) {
  if ((c & 0xE0) == 0xC0) return 2;
  if ((c & 0xF0) == 0xE0) return 3;
  if ((c & 0xF8) == 0xF0) return 4;
  return 0;
}

// UTF-8 to CP932 onto `out`, character by character; a character CP932
// cannot hold, or a byte that starts no valid sequence (nullopt), goes
// through `unmappable`, which may refuse it (false). Unless `last`, a
// character cut off at the end of `in` is left for the next piece, so that
// a text converted piece by piece comes out as the whole would. Returns the
// bytes used; npos when a character was refused.
template <typename OnUnmappable>
size_t utf8ToCp932Part(std::string_view in, bool last, OnUnmappable unmappable, std::string& out) {
  Cp932Characters& table = cp932Characters();
  std::lock_guard<std::mutex> guard(table.lock());
  size_t i = 0;
  while (i < in.size()) {
    auto c = static_cast<unsigned char>(in[i]);
    if (c < 0x80) {
      size_t end = i + 1;
      while (end < in.size() && static_cast<unsigned char>(in[end]) < 0x80) ++end;
      out.append(in.data() + i, end - i);
      i = end;
      continue;
    }
    std::string_view rest = in.substr(i);
    if (!last && rest.size() < utf8LengthFromLead(c)) break;
    char32_t cp = 0;
    size_t len = utf8SequenceLength(rest, &cp);
    if (len == 0) {
      if (!unmappable(out, std::optional<char32_t>())) return std::string_view::npos;
      ++i;
      continue;
    }
    if (!table.append(cp, rest.substr(0, len), out) &&
        !unmappable(out, std::optional<char32_t>(cp))) {
      return std::string_view::npos;
    }
    i += len;
  }
  return i;
}

// The whole text at once.
template <typename OnUnmappable>
std::optional<std::string> utf8ToCp932(std::string_view in, OnUnmappable unmappable) {
  std::string out;
  out.reserve(in.size());
  if (utf8ToCp932Part(in, true, unmappable, out) == std::string_view::npos) return std::nullopt;
  return out;
}

}  // namespace

std::string toCp932(std::string_view utf8) {
  auto r = utf8ToCp932(utf8, [](std::string& out, std::optional<char32_t>) {
    out += '?';
    return true;
  });
  return r ? *r : std::string();
}

std::optional<std::string> toCp932Exact(std::string_view utf8) {
  return utf8ToCp932(utf8, [](std::string&, std::optional<char32_t>) { return false; });
}

namespace {
bool appendReference(std::string& out, std::optional<char32_t> cp) {
  if (!cp) {
    out += '?';
  } else {
    char digits[16];
    auto end = std::to_chars(digits, digits + sizeof digits, static_cast<uint32_t>(*cp)).ptr;
    out += "&#";
    out.append(digits, end);
    out += ';';
  }
  return true;
}
}  // namespace

std::string toCp932WithReferences(std::string_view utf8) {
  auto r = utf8ToCp932(utf8, appendReference);
  return r ? *r : std::string();
}

std::string toCp932Distinct(std::string_view utf8) {
  auto hexReference = [](std::string& out, uint32_t cp) {
    char digits[16];
    auto end = std::to_chars(digits, digits + sizeof digits, cp, 16).ptr;
    out += "&#x";
    for (const char* d = digits; d != end; ++d)
      out += static_cast<char>(*d >= 'a' ? *d - 'a' + 'A' : *d);
    out += ';';
  };
  std::string out;
  // Runs of valid UTF-8 go through the table; a stray byte is named alone.
  size_t runStart = 0;
  auto flush = [&](size_t end) {
    if (end == runStart) return;
    auto run = utf8ToCp932(utf8.substr(runStart, end - runStart),
                           [&](std::string& o, std::optional<char32_t> cp) {
                             hexReference(o, static_cast<uint32_t>(cp.value_or(0xFFFD)));
                             return true;
                           });
    out += run.value_or(std::string());
  };
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    const size_t len = utf8SequenceLength(utf8.substr(i), &cp);
    if (len > 0) {
      i += len;
      continue;
    }
    flush(i);
    hexReference(out, 0xDC00u | static_cast<unsigned char>(utf8[i]));
    runStart = ++i;
  }
  flush(utf8.size());
  return out;
}

std::optional<std::string> charsetToCp932(std::string_view bytes, const std::string& charset,
                                          const StopCheck& stop) {
  Cp932Stream stream(charset, stop);
  std::string out;
  out.reserve(bytes.size());
  if (stream.add(bytes, out) != Cp932Stream::Result::Fits) return std::nullopt;
  if (stream.finish(out) != Cp932Stream::Result::Fits) return std::nullopt;
  return out;
}

struct Cp932Stream::Decoder {
  explicit Decoder(const std::string& charset) : conv("UTF-8", charset.c_str()) {}
  Iconv conv;
  std::string utf8;  // its output, for the table
};

Cp932Stream::Cp932Stream(const std::string& charset, StopCheck stop) : stop_(std::move(stop)) {
  // Other charsets go through UTF-8 first, so that an unmappable character
  // can be named by its code point.
  if (charset != "UTF-8") {
    decoder_ = std::make_unique<Decoder>(charset);
    if (!decoder_->conv.ok()) state_ = Result::DoesNotFit;
  }
}

Cp932Stream::~Cp932Stream() = default;

Cp932Stream::Result Cp932Stream::add(std::string_view piece, std::string& out) {
  while (state_ == Result::Fits && !piece.empty()) {
    if (sinceCheck_ >= kStopCheckBytes) {
      if (stop_ && stop_()) return state_ = Result::Stopped;
      sinceCheck_ = 0;
    }
    const size_t n = std::min(piece.size(), kStopCheckBytes - sinceCheck_);
    if (!convert(piece.substr(0, n), false, out)) state_ = Result::DoesNotFit;
    sinceCheck_ += n;
    piece.remove_prefix(n);
  }
  return state_;
}

Cp932Stream::Result Cp932Stream::finish(std::string& out) {
  if (state_ == Result::Fits && !convert({}, true, out)) state_ = Result::DoesNotFit;
  return state_;
}

bool Cp932Stream::convert(std::string_view piece, bool last, std::string& out) {
  // Bytes that are not valid in the charset make the whole conversion fail.
  auto reference = [](std::string& o, std::optional<char32_t> cp) {
    return cp.has_value() && appendReference(o, cp);
  };
  // What the last piece left of a character cut off comes first.
  auto joined = [](std::string& left, std::string_view piece) {
    if (left.empty()) return piece;
    left.append(piece);
    return std::string_view(left);
  };
  std::string_view utf8 = piece;
  std::string converted;
  if (decoder_) {
    std::string_view in = joined(pending_, piece);
    const Iconv::Stop end = decoder_->conv.feed(in, decoder_->utf8);
    if (end == Iconv::Stop::Invalid || (end == Iconv::Stop::Incomplete && last)) return false;
    pending_ = std::string(in);
    if (last) decoder_->conv.flush(decoder_->utf8);
    converted.swap(decoder_->utf8);
    utf8 = joined(utf8Pending_, converted);
  } else {
    utf8 = joined(utf8Pending_, piece);
  }
  const size_t used = utf8ToCp932Part(utf8, last, reference, out);
  if (used == std::string_view::npos) return false;
  utf8Pending_ = std::string(utf8.substr(used));
  return true;
}

std::string peerTextToCp932(std::string_view text) {
  return isValidUtf8(text) ? toCp932(text) : std::string(text);
}

struct Utf8Decoder::Converter {
  Iconv conv{"UTF-8", "CP932"};
};

namespace {

// The UTF-8 form of every CP932 character met so far, by its code (a
// single byte, or lead byte * 256 + trail byte): up to three bytes and
// their count in the top byte; 0 not yet asked, kInvalid no character.
// Asked of iconv once per character for the life of the process: iconv
// costs more per character than the whole rest of a page's diff.
constexpr uint32_t kInvalid = 0xFF000000;
std::atomic<uint32_t> utf8Forms[65536];

uint32_t formOf(uint32_t code, std::unique_ptr<Utf8Decoder::Converter>& converter) {
  const uint32_t known = utf8Forms[code].load(std::memory_order_relaxed);
  if (known) return known;
  if (!converter) converter = std::make_unique<Utf8Decoder::Converter>();
  const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  std::string_view in = code > 0xFF ? std::string_view(bytes, 2) : std::string_view(bytes + 1, 1);
  std::string out;
  uint32_t form = kInvalid;
  if (converter->conv.ok() && converter->conv.run(in, out) == Iconv::Stop::Done && !out.empty() &&
      out.size() <= 3) {
    form = static_cast<uint32_t>(out.size()) << 24;
    for (size_t i = 0; i < out.size(); ++i)
      form |= static_cast<uint32_t>(static_cast<unsigned char>(out[i])) << (8 * i);
  }
  utf8Forms[code].store(form, std::memory_order_relaxed);
  return form;
}

}  // namespace

Utf8Decoder::Utf8Decoder() = default;
Utf8Decoder::~Utf8Decoder() = default;

void Utf8Decoder::append(std::string_view cp932, std::string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(cp932.data());
  const size_t n = cp932.size();
  for (size_t i = 0; i < n;) {
    if (p[i] < 0x80) {
      size_t end = i + 1;
      while (end < n && p[end] < 0x80) ++end;
      out.append(cp932.data() + i, end - i);
      i = end;
      continue;
    }
    // A lead byte with its trail; a lead byte that makes no character
    // with the next byte stands alone, as iconv leaves it.
    uint32_t form = kInvalid;
    if (isLeadByte(p[i]) && i + 1 < n) form = formOf(uint32_t{p[i]} << 8 | p[i + 1], converter_);
    size_t used = 2;
    if (form == kInvalid) {
      form = isLeadByte(p[i]) ? kInvalid : formOf(p[i], converter_);
      used = 1;
    }
    if (form == kInvalid) {
      out.append("\xEF\xBF\xBD", 3);
    } else {
      const char utf8[3] = {static_cast<char>(form & 0xFF), static_cast<char>((form >> 8) & 0xFF),
                            static_cast<char>((form >> 16) & 0xFF)};
      out.append(utf8, form >> 24);
    }
    i += used;
  }
}

std::string toUtf8(std::string_view cp932) {
  std::string out;
  out.reserve(cp932.size() * 3 / 2);
  Utf8Decoder().append(cp932, out);
  return out;
}

bool isValidUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    char32_t cp;
    size_t len = utf8SequenceLength(bytes, &cp);
    if (len == 0) return false;
    bytes.remove_prefix(len);
  }
  return true;
}

}  // namespace orvis::platform

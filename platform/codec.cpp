#include "codec.h"

#include <iconv.h>

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

  enum class Stop { Done, Invalid, Incomplete, Stopped };

  // Converts as much as possible; `in` is advanced past what was consumed.
  // `stop`, when given, is asked now and then and ends the run when true.
  Stop run(std::string_view& in, std::string& out, const StopCheck& stop = {}) {
    char buffer[4096];
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    size_t sinceCheck = 0;
    while (!in.empty()) {
      if (sinceCheck >= kStopCheckBytes) {
        if (stop && stop()) return Stop::Stopped;
        sinceCheck = 0;
      }
      char* src = const_cast<char*>(in.data());
      size_t srcLeft = in.size();
      char* dst = buffer;
      size_t dstLeft = sizeof buffer;
      size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      int err = errno;
      out.append(buffer, static_cast<size_t>(dst - buffer));
      sinceCheck += in.size() - srcLeft;
      in.remove_prefix(in.size() - srcLeft);
      if (r != static_cast<size_t>(-1)) continue;
      if (err == E2BIG) continue;
      if (err == EILSEQ) return Stop::Invalid;
      if (err == EINVAL) return Stop::Incomplete;
      return Stop::Invalid;
    }
    // flush shift state
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    return Stop::Done;
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

// UTF-8 to CP932, character by character; a character CP932 cannot hold,
// or a byte that starts no valid sequence (nullopt), goes through
// `unmappable`.
template <typename OnUnmappable>
std::optional<std::string> utf8ToCp932(std::string_view in, OnUnmappable unmappable,
                                       const StopCheck& stop) {
  Cp932Characters& table = cp932Characters();
  std::lock_guard<std::mutex> guard(table.lock());
  std::string out;
  out.reserve(in.size());
  size_t nextCheck = kStopCheckBytes;
  for (size_t i = 0; i < in.size();) {
    if (i >= nextCheck) {
      if (stop && stop()) return std::nullopt;
      nextCheck = i + kStopCheckBytes;
    }
    auto c = static_cast<unsigned char>(in[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    char32_t cp = 0;
    std::string_view rest = in.substr(i);
    size_t len = utf8SequenceLength(rest, &cp);
    if (len == 0) {
      if (!unmappable(out, std::optional<char32_t>())) return std::nullopt;
      ++i;
      continue;
    }
    if (!table.append(cp, rest.substr(0, len), out) &&
        !unmappable(out, std::optional<char32_t>(cp))) {
      return std::nullopt;
    }
    i += len;
  }
  return out;
}

// Converts `in` (in charset `from`) to CP932; a character CP932 cannot hold
// goes through `unmappable`, given its code point.
template <typename OnUnmappable>
std::optional<std::string> toCp932Via(std::string_view in, const char* from,
                                      OnUnmappable unmappable, const StopCheck& stop = {}) {
  if (std::string_view(from) == "UTF-8") return utf8ToCp932(in, unmappable, stop);
  // Other charsets go through UTF-8 first, so that an unmappable character
  // can be named by its code point.
  Iconv toUtf("UTF-8", from);
  if (!toUtf.ok()) return std::nullopt;
  std::string utf8;
  if (toUtf.run(in, utf8, stop) != Iconv::Stop::Done) return std::nullopt;
  return utf8ToCp932(utf8, unmappable, stop);
}

}  // namespace

std::string toCp932(std::string_view utf8) {
  auto r = toCp932Via(utf8, "UTF-8", [](std::string& out, std::optional<char32_t>) {
    out += '?';
    return true;
  });
  return r ? *r : std::string();
}

std::optional<std::string> toCp932Exact(std::string_view utf8) {
  return toCp932Via(utf8, "UTF-8", [](std::string&, std::optional<char32_t>) { return false; });
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
  auto r = toCp932Via(utf8, "UTF-8", appendReference);
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
    auto run = toCp932Via(utf8.substr(runStart, end - runStart), "UTF-8",
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
  // Bytes that are not valid in the charset make the whole conversion fail.
  return toCp932Via(
      bytes, charset.c_str(),
      [](std::string& out, std::optional<char32_t> cp) {
        return cp.has_value() && appendReference(out, cp);
      },
      stop);
}

std::string peerTextToCp932(std::string_view text) {
  return isValidUtf8(text) ? toCp932(text) : std::string(text);
}

std::string toUtf8(std::string_view cp932) {
  Iconv conv("UTF-8", "CP932");
  std::string out;
  out.reserve(cp932.size() * 3 / 2);
  if (!conv.ok()) return std::string(cp932);
  while (true) {
    auto stop = conv.run(cp932, out);
    if (stop == Iconv::Stop::Done) return out;
    out += "\xEF\xBF\xBD";
    cp932.remove_prefix(1);
  }
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

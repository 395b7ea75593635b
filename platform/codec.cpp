#include "codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace orvis::platform {
namespace {

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
    char buffer[4096];
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
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

// Length of the UTF-8 sequence that starts at `s`, 1 when it is not valid.
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

// Converts `in` (in charset `from`) to CP932; a character CP932 cannot hold
// goes through `unmappable`, given its code point.
template <typename OnUnmappable>
std::optional<std::string> toCp932Via(std::string_view in, const char* from,
                                      OnUnmappable unmappable) {
  Iconv toSjis("CP932", from);
  if (!toSjis.ok()) return std::nullopt;
  std::string out;
  out.reserve(in.size());
  if (std::string(from) == "UTF-8") {
    while (true) {
      auto stop = toSjis.run(in, out);
      if (stop == Iconv::Stop::Done) return out;
      char32_t cp = 0;
      size_t len = utf8SequenceLength(in, &cp);
      if (len == 0) {
        if (!unmappable(out, std::optional<char32_t>())) return std::nullopt;
        in.remove_prefix(1);
      } else {
        if (!unmappable(out, std::optional<char32_t>(cp))) return std::nullopt;
        in.remove_prefix(len);
      }
    }
  }
  // Other charsets go through UTF-8 first, so that an unmappable character
  // can be named by its code point.
  Iconv toUtf(std::string("UTF-8").c_str(), from);
  if (!toUtf.ok()) return std::nullopt;
  std::string utf8;
  if (toUtf.run(in, utf8) != Iconv::Stop::Done) return std::nullopt;
  return toCp932Via(utf8, "UTF-8", unmappable);
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
    out += "&#" + std::to_string(static_cast<unsigned long>(*cp)) + ";";
  }
  return true;
}
}  // namespace

std::string toCp932WithReferences(std::string_view utf8) {
  auto r = toCp932Via(utf8, "UTF-8", appendReference);
  return r ? *r : std::string();
}

std::optional<std::string> charsetToCp932(std::string_view bytes, const std::string& charset) {
  // Bytes that are not valid in the charset make the whole conversion fail.
  return toCp932Via(bytes, charset.c_str(), [](std::string& out, std::optional<char32_t> cp) {
    return cp.has_value() && appendReference(out, cp);
  });
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

#include "uri_encoding.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

#include "platform/codec.h"

namespace orvis::fetcher {
namespace {

bool isHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

bool allowedAsIs(char c) {
  if (std::isalnum(static_cast<unsigned char>(c))) return true;
  // unreserved, gen-delims and sub-delims
  return c != '\0' && std::strchr("-._~:/?#[]@!$&'()*+,;=", c) != nullptr;
}

// Where "host:port" of "scheme://user@host:port/..." lies, as [begin, end);
// empty when the address has no authority.
std::pair<size_t, size_t> hostRange(std::string_view text) {
  size_t scheme = text.find("://");
  if (scheme == std::string_view::npos) return {0, 0};
  size_t begin = scheme + 3;
  size_t end = std::min(text.find_first_of("/?#", begin), text.size());
  size_t at = text.substr(begin, end - begin).rfind('@');
  if (at != std::string_view::npos) begin += at + 1;
  return {begin, end};
}

}  // namespace

std::string encodeUri(std::string_view address) {
  std::string text =
      platform::isValidUtf8(address) ? std::string(address) : platform::toUtf8(address);
  static const char digits[] = "0123456789ABCDEF";
  // An international host name stays in UTF-8: libcurl turns it into its
  // ASCII form, which escapes would hide from it.
  auto [hostBegin, hostEnd] = hostRange(text);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    bool internationalHost = i >= hostBegin && i < hostEnd && static_cast<unsigned char>(c) >= 0x80;
    if (allowedAsIs(c) || internationalHost ||
        (c == '%' && i + 2 < text.size() && isHex(text[i + 1]) && isHex(text[i + 2]))) {
      out += c;
    } else {
      auto b = static_cast<unsigned char>(c);
      out += '%';
      out += digits[b >> 4];
      out += digits[b & 0x0F];
    }
  }
  return out;
}

}  // namespace orvis::fetcher

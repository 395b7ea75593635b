#include "uri_encoding.h"

#include <cctype>
#include <cstring>

#include "platform/codec.h"

namespace orvis::fetcher {
namespace {

bool isHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

bool allowedAsIs(char c) {
  if (std::isalnum(static_cast<unsigned char>(c))) return true;
  // unreserved, gen-delims and sub-delims
  return c != '\0' && std::strchr("-._~:/?#[]@!$&'()*+,;=", c) != nullptr;
}

}  // namespace

std::string encodeUri(std::string_view address) {
  std::string text =
      platform::isValidUtf8(address) ? std::string(address) : platform::toUtf8(address);
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (allowedAsIs(c) ||
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

#include "base64.h"

namespace orvis::mail {

bool encodeBase64(std::string_view bytes, bool allowIncomplete, std::string& out) {
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  out.clear();
  const size_t n = bytes.size();
  if (n % 3 != 0 && !allowIncomplete) return false;
  out.reserve((n + 2) / 3 * 4);
  auto at = [&](size_t i) -> unsigned int {
    return i < n ? static_cast<unsigned char>(bytes[i]) : 0u;
  };
  for (size_t i = 0; i < n; i += 3) {
    unsigned int group = (at(i) << 16) | (at(i + 1) << 8) | at(i + 2);
    out += kAlphabet[(group >> 18) & 63];
    out += kAlphabet[(group >> 12) & 63];
    out += i + 1 < n ? kAlphabet[(group >> 6) & 63] : '=';
    out += i + 2 < n ? kAlphabet[group & 63] : '=';
  }
  return true;
}

}  // namespace orvis::mail

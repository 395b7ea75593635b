#pragma once
// Standard Base64 (RFC 4648 alphabet, '=' padding, no line breaks).

#include <string>
#include <string_view>

namespace orvis::mail {

// Encodes the bytes into `out`. With `allowIncomplete` false, a count that
// is not a multiple of 3 gives false and no output.
bool encodeBase64(std::string_view bytes, bool allowIncomplete, std::string& out);

}  // namespace orvis::mail

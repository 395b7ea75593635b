#include "header_word.h"

#include <vector>

#include "base64.h"
#include "iso2022jp.h"
#include "platform/codec.h"

namespace orvis::mail {

std::string EncodeHeaderWord(std::string_view iso2022jp) {
  std::string encoded;
  Base64Encode(iso2022jp, true, encoded);
  return "=?iso-2022-jp?B?" + encoded + "?=";
}

namespace {

constexpr size_t kWordOverhead = 18;  // "=?iso-2022-jp?B?" and "?="

size_t encodedLength(size_t isoBytes) { return kWordOverhead + (isoBytes + 2) / 3 * 4; }

// Shift-JIS characters, each one or two bytes.
std::vector<std::string_view> characters(std::string_view sjis) {
  std::vector<std::string_view> chars;
  for (size_t i = 0; i < sjis.size();) {
    size_t len = platform::isLeadByte(static_cast<unsigned char>(sjis[i])) ? 2 : 1;
    if (i + len > sjis.size()) len = sjis.size() - i;
    chars.push_back(sjis.substr(i, len));
    i += len;
  }
  return chars;
}

}  // namespace

std::string EncodeHeaderText(std::string_view sjis) {
  std::string iso = ToIso2022Jp(sjis);
  if (iso.size() <= kHeaderWordCapacity) return EncodeHeaderWord(iso);

  std::vector<std::string> pieces;
  std::string piece;
  for (std::string_view ch : characters(sjis)) {
    std::string grown = piece + std::string(ch);
    if (!piece.empty() && encodedLength(ToIso2022Jp(grown).size()) > kMaxEncodedWordLength) {
      pieces.push_back(piece);
      piece = std::string(ch);
    } else {
      piece = std::move(grown);
    }
  }
  if (!piece.empty()) pieces.push_back(piece);

  std::string out;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) out += "\r\n ";
    out += EncodeHeaderWord(ToIso2022Jp(pieces[i]));
  }
  return out;
}

}  // namespace orvis::mail

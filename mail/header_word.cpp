#include "header_word.h"

#include "base64.h"
#include "iso2022jp.h"

namespace orvis::mail {

std::string encodeHeaderWord(std::string_view iso2022jp) {
  std::string encoded;
  encodeBase64(iso2022jp, true, encoded);
  return "=?iso-2022-jp?B?" + encoded + "?=";
}

namespace {

constexpr size_t kWordOverhead = 18;  // "=?iso-2022-jp?B?" and "?="
// The most ISO-2022-JP bytes whose Base64 fits one word of 75 characters.
constexpr size_t kWordPieceBytes = (kMaxEncodedWordLength - kWordOverhead) / 4 * 3;

}  // namespace

std::string encodeHeaderText(std::string_view sjis) {
  std::string iso = toIso2022Jp(sjis);
  if (iso.size() <= kHeaderWordCapacity) return encodeHeaderWord(iso);

  std::string out;
  while (!sjis.empty()) {
    size_t head = fittingHead(sjis, kWordPieceBytes);
    if (!out.empty()) out += "\r\n ";
    out += encodeHeaderWord(toIso2022Jp(sjis.substr(0, head)));
    sjis.remove_prefix(head);
  }
  return out;
}

}  // namespace orvis::mail

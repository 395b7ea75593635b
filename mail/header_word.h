#pragma once
// MIME encoded words "=?iso-2022-jp?B?...?=" for the subject and the
// sender's display name.

#include <string>
#include <string_view>

namespace orvis::mail {

// One encoded word of an ISO-2022-JP text, whatever its length.
std::string encodeHeaderWord(std::string_view iso2022jp);

// The longest ISO-2022-JP text that one encoded word was ever meant to hold.
constexpr size_t kHeaderWordCapacity = 192;
// RFC 2047's limit for one encoded word.
constexpr size_t kMaxEncodedWordLength = 75;

// The header value for a Shift-JIS text: one encoded word when its
// ISO-2022-JP form fits kHeaderWordCapacity (always the case for the texts
// the system writes); otherwise several encoded words of at most 75
// characters each, every one a complete ISO-2022-JP piece (escapes closed
// inside it, no character cut in two), joined by CR LF and a blank so that
// the header folds onto continuation lines.
std::string encodeHeaderText(std::string_view sjis);

}  // namespace orvis::mail

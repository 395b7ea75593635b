#pragma once
// Turns a fetched page into the Shift-JIS bytes the monitor compares, so
// that the same page always gives the same bytes and a Japanese word check
// finds its word whatever encoding the site uses.
//
// The charset is taken from, in this order: the Content-Type header, a
// byte-order mark, a <meta> charset (or http-equiv) or an XML declaration
// in the first 4 KB, UTF-8 when the bytes are valid UTF-8. A source whose
// charset is unknown or does not fit the bytes is passed over for the next.
// Without any, the bytes stay as received. Shift-JIS and CP932 under any of
// their names stay byte for byte; a character CP932 cannot hold becomes a
// numeric character reference. A <meta> that names UTF-16 or UTF-32 is
// read as UTF-8, as browsers do: markup readable as ASCII is neither.

#include <optional>
#include <string>
#include <string_view>

#include "platform/codec.h"

namespace orvis::fetcher {

struct DecodedPage {
  std::string bytes;     // CP932
  std::string charset;   // the label used, lower case; empty when as received
  std::string source;    // "Content-Type", "BOM", "meta", "UTF-8 check" or "as received"
  bool givenUp = false;  // `stop` ended the conversion: no page at all
};

// `stop` is asked during long conversions (the run's deadline).
DecodedPage decodePage(std::string_view body, std::string_view contentType,
                       const platform::StopCheck& stop = {});

// The charset parameter of a Content-Type value, lower case, unquoted.
std::optional<std::string> charsetFromContentType(std::string_view contentType);

// The charset a <meta> tag or an XML declaration names within the first 4 KB.
std::optional<std::string> charsetFromMarkup(std::string_view body);

bool isShiftJisName(std::string_view label);

}  // namespace orvis::fetcher

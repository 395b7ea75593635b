#pragma once

#include <string>
#include <string_view>

namespace orvis::fetcher {

// The address as it goes on the wire: every byte that may not stand in a URI
// becomes %XX; characters that may (reserved ones and existing %XX escapes
// included) stay. Non-ASCII text is taken as CP932, the system's text, unless
// it is valid UTF-8, and sent as UTF-8, as a browser sends an IRI; an
// international host name is left in UTF-8 for libcurl to convert.
std::string encodeUri(std::string_view address);

}  // namespace orvis::fetcher

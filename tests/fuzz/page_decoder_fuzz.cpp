// urlcheck's page decoding on any page and any Content-Type: the page
// comes out as received, or converted into text that reads as CP932 from
// end to end, and the same page always gives the same bytes.
//
// Input: the Content-Type value on the first line (LF), then the page.

#include <cstdint>
#include <string>
#include <string_view>

#include "fetcher/page_decoder.h"
#include "fuzz_check.h"
#include "platform/codec.h"

namespace fetcher = orvis::fetcher;
namespace platform = orvis::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t end = input.find('\n');
  const std::string_view contentType = input.substr(0, end);
  const std::string_view body =
      end == std::string_view::npos ? std::string_view() : input.substr(end + 1);

  const fetcher::DecodedPage page = fetcher::decodePage(body, contentType);
  FUZZ_REQUIRE(!page.givenUp);
  if (page.source == "as received") {
    FUZZ_REQUIRE(page.bytes == body && page.charset.empty());
  } else {
    FUZZ_REQUIRE(!page.charset.empty());
    // Shift-JIS under any name is kept byte for byte; everything else was
    // converted, and CP932 has no replacement character of its own.
    if (!fetcher::isShiftJisName(page.charset))
      FUZZ_REQUIRE(platform::toUtf8(page.bytes).find("\xEF\xBF\xBD") == std::string::npos);
  }
  const fetcher::DecodedPage again = fetcher::decodePage(body, contentType);
  FUZZ_REQUIRE(again.bytes == page.bytes && again.charset == page.charset);
  return 0;
}

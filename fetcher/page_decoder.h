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

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Where the CP932 bytes of a page go as they are decoded.
class DecodedOutput {
 public:
  virtual ~DecodedOutput() = default;
  virtual void write(std::string_view bytes) = 0;
  // The charset tried turned out not to fit the page: what was written
  // so far is dropped.
  virtual void restart() = 0;
};

// Hands every byte of the page received so far to `take` again, from the
// first, in pieces; false when the page cannot be read again.
using PageReplay = std::function<bool(const std::function<void(std::string_view)>& take)>;

// decodePage for a page that arrives in pieces, cut anywhere: the same
// choice, the same bytes. Each piece is decoded as it comes, in the charset
// of the first source that applies once the first 4 KB are in; when that
// turns out not to fit the bytes, the page is read again through `replay`
// in the next.
class PageStreamDecoder {
 public:
  PageStreamDecoder(std::string_view contentType, DecodedOutput& out, PageReplay replay,
                    platform::StopCheck stop = {});
  ~PageStreamDecoder();
  PageStreamDecoder(const PageStreamDecoder&) = delete;
  PageStreamDecoder& operator=(const PageStreamDecoder&) = delete;

  void add(std::string_view piece);
  // The end of the page: the charset and source used, or given up. The
  // bytes went to `out`.
  DecodedPage finish();

  struct Candidate;
  class Attempt;

 private:
  void choose();
  bool push(std::string_view bytes);
  void advance();
  void start(size_t index);

  std::string contentType_;
  DecodedOutput& out_;
  PageReplay replay_;
  platform::StopCheck stop_;
  std::string head_;  // the first 4 KB, where the sources of the charset lie
  std::vector<Candidate> candidates_;
  size_t current_ = 0;
  std::unique_ptr<Attempt> attempt_;
  bool givenUp_ = false;
};

// The charset parameter of a Content-Type value, lower case, unquoted.
std::optional<std::string> charsetFromContentType(std::string_view contentType);

// The charset a <meta> tag or an XML declaration names within the first 4 KB.
std::optional<std::string> charsetFromMarkup(std::string_view body);

bool isShiftJisName(std::string_view label);

}  // namespace orvis::fetcher

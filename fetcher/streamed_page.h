#pragma once
// The body of urlcheck's answer as it arrives. Every byte is counted; the
// body of a success is also kept in a spool beside the output, which no
// name leads to, and decoded into the output's staged file piece by piece,
// so that a page of any size takes little memory. Whatever ends the run
// before the commit, the output's folder is left as it was.

#include <memory>
#include <string>
#include <string_view>

#include "page_decoder.h"
#include "page_fetcher.h"
#include "platform/codec.h"
#include "platform/files.h"

namespace orvis::fetcher {

class StreamedPage : public BodySink {
 public:
  // `stop` is asked during the conversion (the run's deadline).
  StreamedPage(std::string output, platform::StopCheck stop);
  ~StreamedPage() override;

  void start(long status, const std::string& contentType) override;
  void take(std::string_view bytes) override;

  // The bytes of the body received.
  size_t size() const { return size_; }
  // The end of a successful answer's body: its charset and source, or
  // given up (`bytes` stays empty). A body that never came starts here.
  DecodedPage finish(long status, const std::string& contentType);
  // The decoded page in place of the output; false when it could not be
  // written whole.
  bool commit();

 private:
  struct Decoding;

  std::string output_;
  platform::StopCheck stop_;
  bool started_ = false;
  size_t size_ = 0;
  std::unique_ptr<Decoding> decoding_;  // a success's body only
};

}  // namespace orvis::fetcher

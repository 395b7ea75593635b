#include "streamed_page.h"

namespace orvis::fetcher {

// The spool, the output and the decoder between them.
struct StreamedPage::Decoding : DecodedOutput {
  Decoding(const std::string& output, const std::string& contentType,
           const platform::StopCheck& stop)
      : spool(output + ".spool"),
        page(output),
        decoder(
            contentType, *this,
            [this](const std::function<void(std::string_view)>& take) {
              replayed = replayed && spool.readBack(take);
              return replayed;
            },
            stop) {}

  void write(std::string_view bytes) override { page.write(bytes); }
  void restart() override { page.restart(); }

  platform::StagedFile spool;  // never committed: gone with the object
  platform::StagedFile page;
  PageStreamDecoder decoder;
  bool replayed = true;  // every read of the spool went through
};

StreamedPage::StreamedPage(std::string output, platform::StopCheck stop)
    : output_(std::move(output)), stop_(std::move(stop)) {}

StreamedPage::~StreamedPage() = default;

void StreamedPage::start(long status, const std::string& contentType) {
  started_ = true;
  // Only a success's body becomes a page.
  if (status >= 200 && status <= 299)
    decoding_ = std::make_unique<Decoding>(output_, contentType, stop_);
}

void StreamedPage::take(std::string_view bytes) {
  size_ += bytes.size();
  if (!decoding_) return;
  // Into the spool first: a charset that does not fit reads it again,
  // these bytes with it.
  decoding_->spool.write(bytes);
  decoding_->decoder.add(bytes);
}

DecodedPage StreamedPage::finish(long status, const std::string& contentType) {
  if (!started_) start(status, contentType);
  if (!decoding_) return {{}, {}, {}, true};
  DecodedPage page = decoding_->decoder.finish();
  // The spool is of no use any more.
  decoding_->spool.restart();
  return page;
}

bool StreamedPage::commit() { return decoding_ && decoding_->replayed && decoding_->page.commit(); }

}  // namespace orvis::fetcher

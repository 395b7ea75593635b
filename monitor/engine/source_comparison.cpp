#include "source_comparison.h"

#include "file_source.h"
#include "monitor/engine/comparison/html_source_comparison.h"
#include "platform/open_file.h"
#include "platform/process_wait.h"

namespace orvis {
namespace {

// An input that ends as soon as the program is asked to end, so that the
// comparison stops at its next piece.
class StoppableSource : public ByteSource {
 public:
  StoppableSource(ByteSource& source, const platform::StopFlag& stop)
      : source_(source), stop_(stop) {}
  std::string_view next() override { return stop_.raised() ? std::string_view() : source_.next(); }
  bool failed() const override { return source_.failed(); }
  std::optional<std::uint64_t> size() const override { return source_.size(); }

 private:
  ByteSource& source_;
  const platform::StopFlag& stop_;
};

// The comparison's host: its lines go to the system log, its progress to
// the gauge, and each report lets the window's messages run. Once the
// program is asked to end it writes nothing more.
class GaugeSink : public ComparisonSink {
 public:
  GaugeSink(const Services& s, ShellView& view) : s_(s), view_(view) {}
  ~GaugeSink() override {
    if (shown_) view_.hideCompareGauge();
  }

  void writeLog(std::string_view line) override {
    if (!s_.stop.raised()) s_.log.write(line);
  }
  void progress(std::uint64_t done, std::optional<std::uint64_t> total) override {
    if (!shown_) {
      view_.showCompareGauge(static_cast<int64_t>(total.value_or(0)));
      shown_ = true;
    }
    view_.setCompareProgress(static_cast<int64_t>(done));
    platform::letMessagesRun(s_.pump, s_.stop);
  }

 private:
  const Services& s_;
  ShellView& view_;
  bool shown_ = false;
};

}  // namespace

int SourceComparison::compareHtmlSource(int row, const JobRecord& job, const SkipSwitches& skips,
                                        const std::string& baseline, const std::string& snapshot) {
  ComparisonResult result;
  {
    GaugeSink sink(s_, view_);
    HtmlSourceComparison comparison(skips, sink);
    // Opened for reading and writing, created empty when missing; a pipe or
    // a device in its place is no baseline.
    const platform::OpenFile baselineFile =
        platform::openFile(baseline, platform::OpenFor::Updating);
    if (!baselineFile.ok()) {
      result = comparison.baselineUnopenable();
    } else {
      // A snapshot that cannot be opened reads as one that ended at once.
      const platform::OpenFile snapshotFile =
          platform::openFile(snapshot, platform::OpenFor::Reading);
      FileSource baselineFileBytes(baselineFile), snapshotFileBytes(snapshotFile);
      StoppableSource baselineBytes(baselineFileBytes, s_.stop),
          snapshotBytes(snapshotFileBytes, s_.stop);
      result = comparison.compare(baselineBytes, snapshotBytes);
    }
  }
  // Asked to end meanwhile: what the comparison found is not reported.
  if (result.alert && !s_.stop.raised())
    alerts_.sendAlert(row, job.target, result.alert->message, job.name,
                      result.alert->differenceText);
  return result.code();
}

}  // namespace orvis

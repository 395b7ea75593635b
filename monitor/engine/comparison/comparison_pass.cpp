#include "monitor/engine/comparison/comparison_pass.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "monitor/engine/comparison/comparison_texts.h"

namespace orvis {

namespace {

namespace texts = comparison_texts;

// How far a start byte reaches: a window holds at most this many bytes, so
// a byte that entered further back has left every start window.
constexpr std::size_t kReach = kLongestStartWindow;

std::string startByteSet(const SkipSwitches& on) {
  if (!on.any()) return {};
  std::string bytes(1, '\0');
  if (on.script || on.comment || on.anchor || on.head) bytes += '<';
  if (on.src || on.alt) bytes += "\"'";
  return bytes;
}

std::array<RecentBytes, kStartTestCount> startWindows() {
  const auto& tests = startTests();
  return {RecentBytes(tests[0].window), RecentBytes(tests[1].window), RecentBytes(tests[2].window),
          RecentBytes(tests[3].window), RecentBytes(tests[4].window), RecentBytes(tests[5].window),
          RecentBytes(tests[6].window), RecentBytes(tests[7].window)};
}

// The first position in [from, to) where the two runs differ, or `to`.
std::size_t firstMismatch(const char* b, const char* s, std::size_t from, std::size_t to) {
  if (std::memcmp(b + from, s + from, to - from) == 0) return to;
  return static_cast<std::size_t>(std::mismatch(b + from, b + to, s + from).first - b);
}

}  // namespace

ComparisonPass::ComparisonPass(const SkipSwitches& switches, ByteSource& baseline,
                               ByteSource& snapshot, ComparisonSink& sink, ProgressClock& clock)
    : sink_(sink),
      baseline_(baseline),
      snapshot_(snapshot),
      ticker_(sink, clock, baseline_),
      skipper_(ticker_),
      startBytes_(startByteSet(switches)),
      windows_(startWindows()) {
  const auto& tests = startTests();
  for (std::size_t k = 0; k < kStartTestCount; ++k)
    if (switches.*tests[k].switchOn) enabled_[enabledCount_++] = k;
}

ComparisonResult ComparisonPass::run() {
  if (!baseline_.fill()) {
    return baseline_.failed()
               ? fault(ComparisonOutcome::BaselineUnreadable, texts::cannotOpenAlert())
               : fault(ComparisonOutcome::BaselineEmpty, texts::zeroBytesAlert());
  }
  ticker_.start();
  for (;;) {
    if (!baseline_.fill()) {
      // A failed read is no proof of equality.
      if (baseline_.failed())
        return fault(ComparisonOutcome::BaselineUnreadable, texts::cannotOpenAlert());
      return equal();
    }
    if (!snapshot_.fill()) {
      sink_.writeLog(texts::sizesDiffer());
      return outcome(ComparisonOutcome::SnapshotShorter, AlertRequest{texts::sizesDiffer(), {}});
    }
    const std::size_t n = std::min({baseline_.available(), snapshot_.available(), kWorkPiece});
    if (auto result = comparePiece(n)) return std::move(*result);
    ticker_.tick();
  }
}

std::optional<ComparisonResult> ComparisonPass::comparePiece(std::size_t n) {
  const char* b = baseline_.data();
  const char* s = snapshot_.data();
  // Bytes from `region` on have entered no window yet; none of them is zero
  // while a start test is on.
  std::size_t region = 0;
  // Up to `careful` each byte goes through the start tests; the windows
  // still hold bytes from before this piece, so the first few always do.
  std::size_t careful = std::min(n, kReach - 1);
  std::size_t i = 0;
  while (i < n) {
    if (i >= careful) {
      const std::size_t next = i + startBytes_.find(b + i, n - i);
      if (const std::size_t at = firstMismatch(b, s, i, next); at < next) {
        counter_ += at - i + 1;
        return difference(b, s, region, at);
      }
      counter_ += next - i;
      i = next;
      if (i == n) break;
    }
    const char x = b[i];
    if (x == 0) {
      // Zero bytes are compared but enter no window: the windows take the
      // bytes before them, and their own reach starts again after them.
      windowsTake(b + region, i - region);
      std::size_t end = i;
      while (end < n && b[end] == 0) ++end;
      if (const std::size_t at = firstMismatch(b, s, i, end); at < end) {
        counter_ += at - i + 1;
        return difference(b, s, i, at);
      }
      counter_ += end - i;
      i = region = end;
      careful = std::max(careful, end + kReach - 1);
      continue;
    }
    if (startBytes_.matches(x)) careful = std::max(careful, i + kReach);
    bool readAhead = false;
    if (const StartTest* test = startAt(b, region, i, readAhead)) {
      enterRegion(static_cast<std::size_t>(test - startTests().data()), b, region, i, readAhead);
      return std::nullopt;
    }
    ++counter_;
    if (x != s[i]) return difference(b, s, region, i);
    ++i;
  }
  windowsTake(b + region, n - region);
  baseline_.advance(n);
  snapshot_.advance(n);
  return std::nullopt;
}

const StartTest* ComparisonPass::startAt(const char* b, std::size_t region, std::size_t at,
                                         bool& readAhead) {
  const auto& tests = startTests();
  char scratch[RecentBytes::kMaxLength];
  for (std::size_t e = 0; e < enabledCount_; ++e) {
    const std::size_t k = enabled_[e];
    if (startsRegion(tests[k], windowAt(k, b, region, at, scratch), b[at], readAhead))
      return &tests[k];
  }
  return nullptr;
}

std::string_view ComparisonPass::windowAt(std::size_t test, const char* b, std::size_t region,
                                          std::size_t at, char* scratch) const {
  const std::size_t length = windows_[test].maxLength();
  const std::size_t taken = at - region + 1;
  if (taken >= length) return {b + at + 1 - length, length};
  return {scratch, windows_[test].peekWith(b + region, taken, scratch)};
}

void ComparisonPass::windowsTake(const char* p, std::size_t n) {
  context_.appendRun(p, n);
  for (std::size_t e = 0; e < enabledCount_; ++e) windows_[enabled_[e]].appendPlainRun(p, n);
}

void ComparisonPass::enterRegion(std::size_t test, const char* b, std::size_t region,
                                 std::size_t at, bool readAhead) {
  windowsTake(b + region, at - region);
  // The byte that completes the start reaches the context and the windows
  // tested before; the later ones never see it, and it is not compared.
  context_.append(b[at]);
  for (std::size_t e = 0; e < enabledCount_ && enabled_[e] < test; ++e)
    windows_[enabled_[e]].append(b[at]);
  windows_[test].clear();
  baseline_.advance(at + 1);
  snapshot_.advance(at + 1);

  const StartTest& kind = startTests()[test];
  sink_.writeLog(kind.enterLine());
  if (readAhead) {
    sink_.writeLog(texts::endAlreadyRead());
  } else {
    skipper_.skip(baseline_, kind);
    skipper_.skip(snapshot_, kind);
  }
  sink_.writeLog(kind.leaveLine());
}

ComparisonResult ComparisonPass::difference(const char* b, const char* s, std::size_t region,
                                            std::size_t at) {
  context_.appendRun(b + region, at - region + 1);
  const std::string context(context_.view());
  for (const std::string& line : texts::differenceLines(counter_, b[at], s[at], context))
    sink_.writeLog(line);
  ComparisonResult result =
      outcome(ComparisonOutcome::Difference, AlertRequest{texts::differenceAlert(), context});
  result.baselineByte = b[at];
  result.snapshotByte = s[at];
  result.context = context;
  return result;
}

ComparisonResult ComparisonPass::fault(ComparisonOutcome kind, const std::string& alert) {
  sink_.writeLog(texts::sourceInvalid());
  return outcome(kind, AlertRequest{alert, {}});
}

ComparisonResult ComparisonPass::equal() {
  sink_.writeLog(texts::goodCode());
  return outcome(ComparisonOutcome::Equal, std::nullopt);
}

ComparisonResult ComparisonPass::outcome(ComparisonOutcome kind,
                                         std::optional<AlertRequest> alert) const {
  ComparisonResult result;
  result.outcome = kind;
  result.counter = counter_;
  result.alert = std::move(alert);
  return result;
}

}  // namespace orvis

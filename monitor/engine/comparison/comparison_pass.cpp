#include "monitor/engine/comparison/comparison_pass.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "monitor/engine/comparison/ascii_lower.h"
#include "monitor/engine/comparison/comparison_texts.h"
#include "monitor/engine/comparison/start_word_tests.h"

namespace orvis {

namespace {

namespace texts = comparison_texts;

std::string startByteSet(const SkipSwitches& on) {
  if (!on.any()) return {};
  std::string bytes(1, '\0');
  if (on.script || on.comment || on.anchor || on.head) bytes += '<';
  if (on.src || on.alt) bytes += "\"'";
  return bytes;
}

std::array<StartWindow, kStartTestCount> startWindows() {
  const auto& tests = startTests();
  return {StartWindow(tests[0].window), StartWindow(tests[1].window), StartWindow(tests[2].window),
          StartWindow(tests[3].window), StartWindow(tests[4].window), StartWindow(tests[5].window),
          StartWindow(tests[6].window), StartWindow(tests[7].window)};
}

unsigned enabledTests(const SkipSwitches& switches) {
  unsigned enabled = 0;
  for (std::size_t k = 0; k < kStartTestCount; ++k)
    if (switches.*startTests()[k].switchOn) enabled |= 1u << k;
  return enabled;
}

// The first position in [from, to) where the two runs differ, or `to`.
std::size_t firstMismatch(const char* b, const char* s, std::size_t from, std::size_t to) {
  if (std::memcmp(b + from, s + from, to - from) == 0) return to;
  return static_cast<std::size_t>(std::mismatch(b + from, b + to, s + from).first - b);
}

}  // namespace

ComparisonPass::ComparisonPass(const SkipSwitches& switches, ByteSource& baseline,
                               ByteSource& snapshot, ComparisonSink& sink, ProgressClock& clock,
                               RegionObserver* observer)
    : sink_(sink),
      observer_(observer),
      baseline_(baseline),
      snapshot_(snapshot),
      ticker_(sink, clock, baseline_, snapshot_),
      skipper_(ticker_),
      tests_(startTests().data()),
      enabled_(enabledTests(switches)),
      startBytes_(startByteSet(switches)),
      windows_(startWindows()),
      startKeys_(enabled_) {
  for (std::size_t k = 0; k < kStartTestCount; ++k) {
    const StartTest& test = tests_[k];
    enterLines_[k] = test.enterLine();
    leaveLines_[k] = test.leaveLine();
    if (!(enabled_ & (1u << k))) continue;
    if (test.form == StartForm::Attribute) {
      byQuote_[test.quote == '"' ? 0 : 1] |= 1u << k;
    } else {
      bySecondByte_[static_cast<unsigned char>(test.start[1])] |= 1u << k;
      bySecondByte_[static_cast<unsigned char>(upperAscii(test.start[1]))] |= 1u << k;
    }
  }
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
      tellStop(0);
      return equal();
    }
    if (!snapshot_.fill()) {
      tellStop(0);
      sink_.writeLog(texts::sizesDiffer());
      return outcome(ComparisonOutcome::SnapshotShorter, AlertRequest{texts::sizesDiffer(), {}});
    }
    if (auto result = comparePieces()) return std::move(*result);
    ticker_.tick();
  }
}

std::optional<ComparisonResult> ComparisonPass::comparePieces() {
  // Regions follow one another closely: after one, the comparison goes on
  // here while both inputs have bytes at hand.
  for (;;) {
    const char* b = baseline_.data();
    const char* s = snapshot_.data();
    const std::size_t readable = std::min(baseline_.available(), snapshot_.available());
    const std::size_t n = std::min(readable, kWorkPiece);
    behind_ = std::min(baseline_.behind(), StartWindow::kCapacity);
    beginRegion(0);
    std::size_t i = 0;
    bool entered = false;
    while (i < n) {
      // Between the bytes where a start may be complete, whole runs compare
      // at once.
      if (i != nextDue_) {
        const std::size_t limit = std::min(n, nextDue_);
        // A pair that differs stops the run as a start byte does; the steps
        // below find it different.
        const std::size_t next =
            startBytes_.empty()
                ? firstMismatch(b, s, i, limit)
                : i + startBytes_.findInPairs(b + i, s + i, limit - i, readable - i);
        counter_ += next - i;
        i = next;
        if (i == n) break;
      }
      const char x = b[i];
      if (x == 0) {
        // Zero bytes are compared but enter no window: the windows take the
        // bytes before them, and a new run begins after them.
        windowsTake(b, i);
        std::size_t end = i;
        while (end < n && b[end] == 0) ++end;
        if (const std::size_t at = firstMismatch(b, s, i, end); at < end) {
          counter_ += at - i + 1;
          return difference(b, s, at, at);
        }
        counter_ += end - i;
        i = end;
        beginRegion(end);
        continue;
      }
      if (startBytes_.matches(x)) {
        if (x == '<')
          foreseeTag(b, i, n);
        else
          foreseeAttribute(b, i);
      }
      bool readAhead = false;
      if (i == nextDue_) {
        if (const std::size_t test = startAt(b, i, readAhead); test != kNone) {
          enterRegion(test, b, i, readAhead);
          entered = true;
          break;
        }
      }
      ++counter_;
      if (x != s[i]) return difference(b, s, region_, i);
      ++i;
    }
    if (!entered) {
      windowsTake(b, n);
      baseline_.advance(n);
      snapshot_.advance(n);
      return std::nullopt;
    }
    // The caller fetches the next pieces.
    if (baseline_.available() == 0 || snapshot_.available() == 0) return std::nullopt;
    ticker_.tick();
  }
}

void ComparisonPass::beginRegion(std::size_t at) {
  region_ = at;
  due_ = 0;
  nextDue_ = kNone;
  // The windows still hold bytes from before the run: a '<' or a quote
  // among them may yet begin a start that bytes of the run complete.
  for (std::uint64_t keys = startKeys_.in(windows_); keys != 0;) {
    const auto k = static_cast<std::size_t>(std::countr_zero(keys)) / 8;
    const std::uint64_t word = windows_[k].word();
    const auto held = static_cast<unsigned>(keys >> (8 * k)) & 0xFF;
    keys &= ~(std::uint64_t{0xFF} << (8 * k));
    const StartTest& test = tests_[k];
    if (test.form != StartForm::Attribute) {
      // Only the newest '<' can be the start's: no start holds another. The
      // bytes held from it on must begin the start.
      const auto newest = static_cast<std::size_t>(std::bit_width(held)) - 1;
      const std::size_t back = StartWindow::kCapacity - 1 - newest;
      if (holdsStart(test, word, newest + test.start.size() - 1))
        expect(k, at + test.start.size() - 2 - back);
      continue;
    }
    for (unsigned quotes = held; quotes != 0; quotes &= quotes - 1) {
      const auto quote = static_cast<std::size_t>(std::countr_zero(quotes));
      std::size_t more = bytesUntilStartIn(test, word, quote);
      if (more == kUndecided) {
        char scratch[StartWindow::kCapacity];
        const std::string_view window = windows_[k].view(scratch);
        more = bytesUntilStart(test, window, quote - (StartWindow::kCapacity - window.size()));
      }
      if (more != kNoStart) expect(k, at + std::max<std::size_t>(more, 1) - 1);
    }
  }
}

// The steps below run at every start byte: inline, to spare the calls.

inline void ComparisonPass::foreseeTag(const char* b, std::size_t at, std::size_t n) {
  // A tag start is complete where its last byte falls, if the byte after
  // the '<' is its second. A '<' at the end of the piece is the next
  // piece's to look at, through the windows.
  if (at + 1 >= n) return;
  for (unsigned mask = bySecondByte_[static_cast<unsigned char>(b[at + 1])]; mask != 0;
       mask &= mask - 1) {
    const auto k = static_cast<std::size_t>(__builtin_ctz(mask));
    expect(k, at + tests_[k].start.size() - 1);
  }
}

[[gnu::always_inline]] inline void ComparisonPass::foreseeAttribute(const char* b, std::size_t at) {
  // A value starts only after "src=" or "alt=" (blanks aside) right before
  // its quote, all within the window that holds the quote. Most quotes on a
  // page close a value or open another attribute's: the bytes right before
  // tell, when they are in this run and not blanks.
  if (at > region_ && b[at - 1] != '=' && b[at - 1] != ' ') return;
  const bool nameBefore = at > region_ + 1 && b[at - 1] == '=' && b[at - 2] != ' ';
  for (unsigned mask = byQuote_[b[at] == '"' ? 0 : 1]; mask != 0; mask &= mask - 1) {
    const auto k = static_cast<std::size_t>(__builtin_ctz(mask));
    const StartTest& test = tests_[k];
    const std::string_view start = test.start;
    if (nameBefore && lowerAscii(b[at - 2]) != start[start.size() - 3]) continue;
    std::size_t more = bytesUntilStartIn(test, windowWordAt(k, b, at), StartWindow::kCapacity - 1);
    if (more == kUndecided) {
      char scratch[StartWindow::kCapacity];
      const std::string_view window = windowAt(k, b, at, scratch);
      more = bytesUntilStart(test, window, window.size() - 1);
    }
    if (more != kNoStart) expect(k, at + more);
  }
}

inline void ComparisonPass::expect(std::size_t test, std::size_t at) {
  due_ |= static_cast<std::uint64_t>(1u << test) << (8 * (at % 8));
  nextDue_ = std::min(nextDue_, at);
}

inline std::size_t ComparisonPass::startAt(const char* b, std::size_t at, bool& readAhead) {
  // Take the tests due here off the ring; the nearest position with tests
  // due is at most seven ahead.
  const unsigned shift = 8 * (at % 8);
  unsigned candidates = static_cast<unsigned>(due_ >> shift) & 0xFF;
  due_ &= ~(std::uint64_t{0xFF} << shift);
  const std::uint64_t ahead = std::rotr(due_, static_cast<int>(shift));
  nextDue_ = ahead == 0 ? kNone : at + static_cast<std::size_t>(std::countr_zero(ahead)) / 8;
  for (; candidates != 0; candidates &= candidates - 1) {
    const auto k = static_cast<std::size_t>(__builtin_ctz(candidates));
    const StartTest& test = tests_[k];
    switch (startsRegionIn(test, windowWordAt(k, b, at), readAhead)) {
      case WordVerdict::Yes:
        return k;
      case WordVerdict::No:
        continue;
      case WordVerdict::Undecided:
        break;
    }
    char scratch[StartWindow::kCapacity];
    if (startsRegion(test, windowAt(k, b, at, scratch), b[at], readAhead)) return k;
  }
  return kNone;
}

inline std::uint64_t ComparisonPass::windowWordAt(std::size_t test, const char* b,
                                                  std::size_t at) const {
  const StartWindow& window = windows_[test];
  const std::size_t taken = at - region_ + 1;
  if (taken >= window.maxLength() && at + 1 + behind_ >= StartWindow::kCapacity)
    return StartWindow::wordEndingAt(b + at + 1) & window.keep();
  return window.peek(runWord(b, region_, at + 1), taken);
}

std::string_view ComparisonPass::windowAt(std::size_t test, const char* b, std::size_t at,
                                          char* scratch) const {
  const std::size_t length = windows_[test].maxLength();
  const std::size_t taken = at - region_ + 1;
  if (taken >= length) return {b + at + 1 - length, length};
  return windows_[test].peekWithPlain(b + region_, taken, scratch);
}

inline std::uint64_t ComparisonPass::runWord(const char* b, std::size_t from,
                                             std::size_t to) const {
  if (to + behind_ >= StartWindow::kCapacity)
    return StartWindow::runWordEndingAt(b + to, to - from);
  return StartWindow::runWord(b + from, to - from);
}

void ComparisonPass::windowsTake(const char* b, std::size_t to) {
  // With no start test on, runs may hold zero bytes.
  if (enabled_ == 0) {
    context_.appendRun(b + region_, to - region_);
    return;
  }
  context_.appendPlainRun(b + region_, to - region_);
  const std::uint64_t run = runWord(b, region_, to);
  for (StartWindow& window : windows_) window.take(run, to - region_);
}

void ComparisonPass::enterRegion(std::size_t test, const char* b, std::size_t at, bool readAhead) {
  // The byte that completes the start reaches the context and the windows
  // tested before; the later ones never see it, and it is not compared.
  // Windows whose switch is off take the bytes too: nothing looks at them,
  // and the same steps for all are quicker than a choice.
  const std::size_t n = at - region_;
  // The start begins as far back in the snapshot as in the baseline: the
  // bytes before its last were compared, in step.
  std::uint64_t baselineBegin = 0, snapshotBegin = 0;
  if (observer_) [[unlikely]] {
    const std::uint64_t span = startSpan(test, b, at);
    const std::uint64_t baselineThrough = baseline_.consumed() + at + 1;
    const std::uint64_t snapshotThrough = snapshot_.consumed() + at + 1;
    baselineBegin = baselineThrough - std::min(span, baselineThrough);
    snapshotBegin = snapshotThrough - std::min(span, snapshotThrough);
  }
  context_.appendPlainRun(b + region_, n + 1);
  const std::uint64_t with = runWord(b, region_, at + 1);
  const std::uint64_t without = runWord(b, region_, at);
  if (n >= StartWindow::kCapacity) {
    // A run this long fills every window anew.
    for (std::size_t k = 0; k < kStartTestCount; ++k) windows_[k].fill(k < test ? with : without);
  } else {
    for (std::size_t k = 0; k < kStartTestCount; ++k)
      windows_[k].take(k < test ? with : without, k < test ? n + 1 : n);
  }
  windows_[test].clear();
  baseline_.advance(at + 1);
  snapshot_.advance(at + 1);

  const StartTest& kind = tests_[test];
  sink_.writeLog(enterLines_[test]);
  if (readAhead) {
    sink_.writeLog(texts::endAlreadyRead());
  } else {
    skipper_.skip(baseline_, kind);
    skipper_.skip(snapshot_, kind);
  }
  sink_.writeLog(leaveLines_[test]);
  if (observer_) [[unlikely]]
    observer_->skipped({static_cast<RegionKind>(test), baselineBegin, baseline_.consumed(),
                        snapshotBegin, snapshot_.consumed()});
}

std::size_t ComparisonPass::startSpan(std::size_t test, const char* b, std::size_t at) const {
  const StartTest& kind = tests_[test];
  std::size_t bytes = kind.start.size();
  if (kind.form == StartForm::Attribute) {
    // Blanks may stand before the attribute's name in its window.
    char scratch[StartWindow::kCapacity];
    const std::string_view window = windowAt(test, b, at, scratch);
    bytes = window.size() - std::min(window.find_first_not_of(' '), window.size());
  }
  // The windows hold no zero byte; the input may, among the start's bytes.
  // Only the bytes before the piece that may be read are looked at.
  const auto last = static_cast<std::ptrdiff_t>(at);
  std::ptrdiff_t from = last;
  for (std::size_t seen = 0; from >= -static_cast<std::ptrdiff_t>(behind_); --from)
    if (b[from] != 0 && ++seen == bytes) break;
  return static_cast<std::size_t>(last - std::max(from, -static_cast<std::ptrdiff_t>(behind_))) + 1;
}

void ComparisonPass::tellStop(std::size_t at) const {
  if (observer_) observer_->stopped(baseline_.consumed() + at, snapshot_.consumed() + at);
}

ComparisonResult ComparisonPass::difference(const char* b, const char* s, std::size_t from,
                                            std::size_t at) {
  // Bytes from `from` on have not yet reached the context.
  tellStop(at);
  context_.appendRun(b + from, at - from + 1);
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

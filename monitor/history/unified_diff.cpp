#include "unified_diff.h"

#include "diff_hunks.h"
#include "platform/codec.h"
#include "region_pieces.h"

namespace orvis {
namespace {

std::string placeText(const std::optional<PagePlace>& at, const DiffSide& side) {
  if (!at) return "?";
  return "line " + std::to_string(at->line + 1) + ", character " + std::to_string(at->column + 1) +
         " of " + side.place;
}

void writeComparison(std::ostream& out, const PageDifference& d, const CompareRules& rules,
                     const DiffSide& older, const DiffSide& newer) {
  out << "comparison (" << (rules.own ? "the job's own rules" : "the standard rules of ORVIS.ini")
      << "): ";
  if (!d.compared) {
    out << "none, the job only checks that the page answers\n";
    return;
  }
  switch (d.regions.outcome) {
    case ComparisonOutcome::Difference:
      out << "first difference at " << placeText(d.olderFirst, older) << " and "
          << placeText(d.newerFirst, newer) << "\n";
      break;
    case ComparisonOutcome::SnapshotShorter:
      out << newer.place << " ends before " << older.place << " does, at "
          << placeText(d.olderFirst, older) << "\n";
      break;
    case ComparisonOutcome::Equal:
      out << "no difference as far as " << older.place << " goes\n";
      break;
    default:
      out << older.place << " is empty: every check of it reports a change\n";
      break;
  }
  const SkipSwitches on = rules.skips();
  const bool kinds[] = {on.script, on.comment, on.anchor, on.src, on.alt, on.head};
  const char* const names[] = {"script", "comment", "anchor", "src", "alt", "head"};
  std::string passed;
  for (int k = 0; k < 6; ++k)
    if (kinds[k]) passed += std::string(passed.empty() ? "" : ", ") + names[k];
  out << "passed over: " << (passed.empty() ? "nothing" : passed) << "\n";
}

// Appends one line of the diff to `out`.
void writeLine(std::string& out, platform::Utf8Decoder& decode, char mark, const PageLines& page,
               const std::vector<ByteRegion>& regions, std::size_t line) {
  out += mark;
  const std::uint64_t begin = page.begin(line), end = begin + page.line(line).size();
  for (const LinePiece& piece : piecesOf(regions, begin, end)) {
    const std::string_view bytes(page.text().data() + piece.begin, piece.end - piece.begin);
    if (piece.skipped) out += kSkipOpen;
    decode.append(bytes, out);
    if (piece.skipped) out += kSkipClose;
  }
  out += '\n';
}

// A hunk's first line in the stored page; for a side without lines, the
// place after the line before it.
template <typename Origin>
std::uint32_t storedLine(std::uint32_t begin, std::uint32_t count, Origin origin) {
  if (count) return origin(begin);
  return begin == 0 ? 0 : origin(begin - 1) + 1;
}

}  // namespace

void writeDiffHeader(std::ostream& out, const DiffSide& older, const DiffSide& newer) {
  out << "--- " << older.place << '\t' << older.stored << '\t' << older.path << '\n';
  out << "+++ " << newer.place << '\t' << newer.stored << '\t' << newer.path << '\n';
}

void writeUnifiedDiff(std::ostream& out, const PageDifference& d, const CompareRules& rules,
                      const DiffSide& older, const DiffSide& newer) {
  writeComparison(out, d, rules, older, newer);
  const std::vector<Hunk> hunks = hunksOf(d.runs);
  if (hunks.empty()) return;
  writeDiffHeader(out, older, newer);
  platform::Utf8Decoder decode;
  for (const Hunk& hunk : hunks) {
    // Without the regions, the line numbers are still the stored pages'.
    Hunk shown = hunk;
    shown.olderBegin = storedLine(hunk.olderBegin, hunk.olderCount,
                                  [&d](std::size_t i) { return d.olderLine(i); });
    shown.newerBegin = storedLine(hunk.newerBegin, hunk.newerCount,
                                  [&d](std::size_t i) { return d.newerLine(i); });
    std::string text = hunkHeader(shown) + '\n';
    for (const DiffRun& run : hunk.runs) {
      for (std::uint32_t i = 0; i < run.count; ++i) {
        switch (run.kind) {
          case DiffRun::Kind::Same:
            writeLine(text, decode, ' ', d.newer, d.regions.newer, run.newer + i);
            break;
          case DiffRun::Kind::Removed:
            writeLine(text, decode, '-', d.older, d.regions.older, run.older + i);
            break;
          case DiffRun::Kind::Added:
            writeLine(text, decode, '+', d.newer, d.regions.newer, run.newer + i);
            break;
        }
      }
    }
    out << text;
  }
}

}  // namespace orvis

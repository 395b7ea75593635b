#include "page_difference.h"

#include "platform/codec.h"
#include "region_pieces.h"

namespace orvis {
namespace {

// The page without its regions; a line that lay inside one goes too.
PageLines withoutRegions(const PageLines& page, const std::vector<ByteRegion>& regions,
                         std::vector<std::uint32_t>& origin) {
  std::string kept;
  kept.reserve(page.text().size());
  for (std::size_t i = 0; i < page.size(); ++i) {
    const std::uint64_t begin = page.begin(i), end = begin + page.line(i).size();
    if (whollySkipped(regions, begin, end)) continue;
    for (const LinePiece& piece : piecesOf(regions, begin, end))
      if (!piece.skipped) kept.append(page.text(), piece.begin, piece.end - piece.begin);
    kept += '\n';
    origin.push_back(static_cast<std::uint32_t>(i));
  }
  return PageLines(std::move(kept));
}

std::optional<PagePlace> placeOf(const PageLines& page, std::optional<std::uint64_t> byte) {
  if (!byte || page.size() == 0) return std::nullopt;
  const std::size_t line = page.lineAt(*byte);
  const std::size_t at = std::min<std::uint64_t>(*byte - page.begin(line), page.line(line).size());
  return PagePlace{line, charactersBefore(page.line(line), at), *byte};
}

}  // namespace

bool PageDifference::changed() const {
  for (const DiffRun& run : runs)
    if (run.kind != DiffRun::Kind::Same) return true;
  return false;
}

std::size_t charactersBefore(std::string_view line, std::size_t at) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < at && i < line.size(); ++characters)
    i += platform::isLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size() ? 2 : 1;
  return characters;
}

std::optional<PageDifference> differenceOfPages(std::string older, std::string newer,
                                                const CompareRules& rules, Regions regions,
                                                WorkProgress& progress) {
  PageDifference d;
  d.older = PageLines(std::move(older));
  d.newer = PageLines(std::move(newer));
  d.compared = rules.comparesSource();
  if (d.compared) {
    d.regions = passedOver(d.older.text(), d.newer.text(), rules.skips());
    d.olderFirst = placeOf(d.older, d.regions.olderAt);
    d.newerFirst = placeOf(d.newer, d.regions.newerAt);
  }
  if (!progress.step(0.2)) return std::nullopt;
  if (regions == Regions::LeftOut && d.compared) {
    d.older = withoutRegions(d.older, d.regions.older, d.olderOrigin);
    d.newer = withoutRegions(d.newer, d.regions.newer, d.newerOrigin);
    d.regions.older.clear();
    d.regions.newer.clear();
  }
  struct Rest : WorkProgress {
    explicit Rest(WorkProgress& whole) : whole(whole) {}
    bool step(double done) override { return whole.step(0.2 + 0.8 * done); }
    WorkProgress& whole;
  } rest(progress);
  std::optional<std::vector<DiffRun>> runs = diffLines(d.older, d.newer, rest);
  if (!runs) return std::nullopt;
  d.runs = std::move(*runs);
  return d;
}

}  // namespace orvis

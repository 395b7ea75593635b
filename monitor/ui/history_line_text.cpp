#include "history_line_text.h"

#include "monitor/history/region_pieces.h"
#include "platform/codec.h"

namespace orvis::ui {
namespace {

// The first character boundary at or after `want`, walking from `from`.
std::uint64_t boundary(const std::string& text, std::uint64_t from, std::uint64_t want,
                       std::uint64_t end) {
  while (from < want && from < end)
    from += platform::isLeadByte(static_cast<unsigned char>(text[from])) ? 2 : 1;
  return std::min(from, end);
}

}  // namespace

ShownLine shownLine(const PageLines& page, const std::vector<ByteRegion>& regions, std::size_t line,
                    std::optional<std::uint64_t> markAt) {
  const std::string& text = page.text();
  const std::uint64_t begin = page.begin(line), end = begin + page.line(line).size();
  const bool marked = markAt && *markAt >= begin && *markAt < end;
  std::uint64_t from = begin, to = end;
  if (end - begin > kShownLineBytes) {
    if (marked && *markAt - begin > kShownLineBytes / 2)
      from = boundary(text, begin, *markAt - kShownLineBytes / 4, end);
    to = boundary(text, from, from + kShownLineBytes, end);
  }
  ShownLine shown;
  if (from > begin) shown.text = QStringLiteral("…");
  auto add = [&](std::uint64_t a, std::uint64_t b, bool skipped) {
    if (b <= a) return;
    const QString part =
        QString::fromStdString(platform::toUtf8(std::string_view(text).substr(a, b - a)));
    if (skipped) shown.skipped.emplace_back(shown.text.size(), part.size());
    shown.text += part;
  };
  for (const LinePiece& piece : piecesOf(regions, from, to)) {
    if (marked && *markAt >= piece.begin && *markAt < piece.end) {
      const std::uint64_t after =
          std::min(piece.end, boundary(text, *markAt, *markAt + 1, piece.end));
      add(piece.begin, *markAt, piece.skipped);
      shown.mark = static_cast<int>(shown.text.size());
      add(*markAt, after, piece.skipped);
      add(after, piece.end, piece.skipped);
    } else {
      add(piece.begin, piece.end, piece.skipped);
    }
  }
  // A difference in the line end, or where a page ended too soon, stands
  // after the line's last character.
  if (markAt && *markAt >= end && to == end && page.lineAt(*markAt) == line)
    shown.mark = static_cast<int>(shown.text.size());
  if (to < end) shown.text += QStringLiteral("…");
  return shown;
}

}  // namespace orvis::ui

#include "headless_window.h"

#include <algorithm>

namespace orvis {

std::string HeadlessWindow::statusText(int panel) const {
  auto it = status_.find(panel);
  return it == status_.end() ? std::string() : it->second;
}

void HeadlessWindow::setRows(int rows) { cells_.resize(static_cast<size_t>(std::max(rows, 0))); }

void HeadlessWindow::setCell(int row, int column, const std::string& text) {
  if (row < 0 || column < 0) return;
  if (static_cast<size_t>(row) >= cells_.size()) cells_.resize(static_cast<size_t>(row) + 1);
  auto& line = cells_[static_cast<size_t>(row)];
  if (static_cast<size_t>(column) >= line.size()) line.resize(static_cast<size_t>(column) + 1);
  line[static_cast<size_t>(column)] = text;
}

std::string HeadlessWindow::cell(int row, int column) const {
  if (row < 0 || column < 0 || static_cast<size_t>(row) >= cells_.size()) return {};
  const auto& line = cells_[static_cast<size_t>(row)];
  return static_cast<size_t>(column) < line.size() ? line[static_cast<size_t>(column)]
                                                   : std::string();
}

}  // namespace orvis

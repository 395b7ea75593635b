#pragma once
// The job grid as the catalogue logic fills it. Texts are CP932.

#include <string>

namespace orvis {

class JobGridView {
 public:
  virtual ~JobGridView() = default;
  // Rows including the header row 0.
  virtual void setRows(int rows) = 0;
  virtual int rows() const = 0;
  virtual void setCell(int row, int column, const std::string& text) = 0;
  virtual std::string cell(int row, int column) const = 0;
  // Asks the grid to paint again (the engine changed results).
  virtual void redraw() = 0;
  // The selected block of rows (0 when none).
  virtual int selectionTop() const = 0;
  virtual int selectionBottom() const = 0;
};

}  // namespace orvis

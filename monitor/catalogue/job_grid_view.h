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

  // Around a fill of many cells (only cells: the rows are set before): the
  // grid may keep the changes of single cells to itself until endFill(),
  // and then take them in all at once.
  virtual void beginFill() {}
  virtual void endFill() {}
};

// beginFill() and endFill() for the life of the object.
class GridFill {
 public:
  explicit GridFill(JobGridView& grid) : grid_(grid) { grid_.beginFill(); }
  ~GridFill() { grid_.endFill(); }
  GridFill(const GridFill&) = delete;
  GridFill& operator=(const GridFill&) = delete;

 private:
  JobGridView& grid_;
};

}  // namespace orvis

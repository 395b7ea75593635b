#pragma once
// The job grid as a table of texts, for logic tests.

#include <string>
#include <vector>

#include "monitor/catalogue/job_grid_view.h"

namespace orvis::testing {

class FakeGridView : public JobGridView {
 public:
  void setRows(int rows) override {
    rows_ = rows;
    cells_.resize(static_cast<size_t>(rows), std::vector<std::string>(12));
  }
  int rows() const override { return rows_; }
  void setCell(int row, int column, const std::string& text) override {
    cells_.at(static_cast<size_t>(row)).at(static_cast<size_t>(column)) = text;
  }
  std::string cell(int row, int column) const override {
    return cells_.at(static_cast<size_t>(row)).at(static_cast<size_t>(column));
  }
  void redraw() override { ++repaints; }
  int selectionTop() const override { return top; }
  int selectionBottom() const override { return bottom; }

  int top = 0, bottom = 0, repaints = 0;

 private:
  int rows_ = 0;
  std::vector<std::vector<std::string>> cells_;
};

}  // namespace orvis::testing

#pragma once
// Loading the job files into the job table, filling the grid from it, and
// how each cell of the grid is drawn. The list is never filtered or sorted:
// it shows every job in load order.

#include <string>

#include "cell_look.h"
#include "job_grid_view.h"
#include "job_table.h"
#include "monitor/shell/ini_access.h"
#include "monitor/shell/shell_view.h"
#include "monitor/shell/sys_log.h"

namespace orvis {

class JobList {
 public:
  JobList(const SysLog& log, const IniAccess& ini, const std::string& dataFolder, JobTable& table,
          JobGridView& grid, ShellView& shell)
      : log_(log),
        ini_(ini),
        folder_(dataFolder + "info/"),
        table_(table),
        grid_(grid),
        shell_(shell) {}

  // Empties the table and reads every job file of "info/" into it, in
  // ascending byte order of the file names.
  void loadJobFiles();
  // Fills the grid from the table.
  void fillGrid();
  // Both, behind the busy panel with its message.
  void reload();

  void selectCell(int column, int row) {
    selectedColumn_ = column;
    selectedRow_ = row;
  }
  int selectedRow() const { return selectedRow_; }
  int selectedColumn() const { return selectedColumn_; }

  CellLook cellLook(int row, int column, bool selected) const;

  const JobTable& table() const { return table_; }

 private:
  void loadJob(const std::string& path);

  const SysLog& log_;
  const IniAccess& ini_;
  std::string folder_;  // of the job files
  JobTable& table_;
  JobGridView& grid_;
  ShellView& shell_;
  int selectedRow_ = 0;
  int selectedColumn_ = 0;
};

}  // namespace orvis

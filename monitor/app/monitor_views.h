#pragma once

#include "monitor/alerting/alarm_view.h"
#include "monitor/catalogue/job_editor_view.h"
#include "monitor/catalogue/job_grid_view.h"
#include "monitor/shell/shell_view.h"
#include "monitor/shell/tray_view.h"

namespace orvis {

// The window's faces, as the logic sees them.
struct MonitorViews {
  ShellView& shell;
  JobGridView& grid;
  JobEditorView& editor;
  TrayView& tray;
  AlarmView& alarm;
};

}  // namespace orvis

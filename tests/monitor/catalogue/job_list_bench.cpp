// Load time of the job list for 100, 1,000 and 10,000 jobs: every job file
// read into the table and shown in the grid. Prints figures; no assertion.

#include <QApplication>
#include <chrono>
#include <cstdio>

#include "monitor/catalogue/job_list.h"
#include "monitor/ui/job_grid_widget.h"
#include "support/fake_grid_view.h"
#include "support/fake_shell_view.h"
#include "support/services_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {
double loadMs(JobList& list) {
  auto start = std::chrono::steady_clock::now();
  list.loadJobFiles();
  list.fillGrid();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}
}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  for (int jobs : {100, 1000, 10000}) {
    ServicesRig rig;
    for (int i = 0; i < jobs; ++i) {
      std::string no = std::to_string(i);
      writeText(rig.path("info/" + no + ".ini"),
                "[COMMON]\r\nNO=" + no + "\r\nURI=http://example.com/" + no + "\r\nNAME=job" + no +
                    "\r\nUSEPROXY=0\r\nUSEUSERMAIL=0\r\nUSERMAILHTML=0\r\nMAILGROUP=0\r\n"
                    "CHKKOBETSU=1\r\nCHKHIKAKU=1\r\nCHKSCRIPT=0\r\nCHKCOMMENT=0\r\nCHKREF=0\r\n"
                    "CHKSRC=0\r\nCHKALT=0\r\nCHKHEAD=0\r\nCHKWORD=0\r\nWORD=\r\nCHKSUBFOLDER=0\r\n"
                    "TYPE=URL\r\nSOURCE=1\r\nCHECK=1\r\n");
    }
    JobTable table;
    FakeShellView shell;
    FakeGridView plain;
    JobList logic(rig.services.log, rig.services.ini, rig.dir.path(), table, plain, shell);
    double files = loadMs(logic);
    ui::JobGridWidget widget(nullptr);
    JobList shown(rig.services.log, rig.services.ini, rig.dir.path(), table, widget, shell);
    double window = loadMs(shown);
    std::printf(
        "job list load of %5d jobs: %8.1f ms into the table, %8.1f ms with the window's grid\n",
        jobs, files, window);
  }
  return 0;
}

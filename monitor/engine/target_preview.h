#pragma once
// "URIを画面でチェック": shows what the job in the editor would watch, before
// it is saved. A web page opens in the browser and a folder in a folder
// window; for a missing file, the running programs and a disk the monitor
// writes a small page, "temp/srctemp.html", and opens that.

#include <string>
#include <vector>

#include "monitor/catalogue/job_editor_view.h"
#include "monitor/shell/desktop_opener.h"
#include "monitor/shell/services.h"

namespace orvis {

class TargetPreview {
 public:
  TargetPreview(const Services& services, const JobEditorView& editor)
      : s_(services), editor_(editor), opener_(services) {}

  // Reads the target and the type from the editor's fields.
  void showTarget();

  std::string pagePath() const;

 private:
  // What to open for the type; writes the page where the type needs one.
  std::string targetToOpen(JobType type, const std::string& uri);
  std::vector<std::string> missingFileLines(const std::string& uri) const;
  std::vector<std::string> processLines(const std::string& uri) const;
  std::vector<std::string> driveLines(const std::string& uri) const;
  // The page in Shift-JIS, after a line that tells the browser so.
  void writePage(const std::vector<std::string>& lines) const;

  const Services& s_;
  const JobEditorView& editor_;
  DesktopOpener opener_;
};

}  // namespace orvis

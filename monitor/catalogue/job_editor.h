#pragma once
// The job editor: fills its fields from the selected job, keeps their
// enabling in step with the type and the check boxes, validates and saves
// a job ("追加・更新") or deletes one ("削除").

#include <string>

#include "job_editor_view.h"
#include "job_files.h"
#include "job_list.h"
#include "mail_group_count.h"
#include "monitor/shell/message_boxes.h"

namespace orvis {

class JobEditor {
 public:
  JobEditor(const MessageBoxes& boxes, const std::string& dataFolder, JobFiles& files,
            JobEditorView& view, JobList& list)
      : boxes_(boxes), dataFolder_(dataFolder), files_(files), view_(view), list_(list) {}

  // The editor at start-up, and the mail group selector with "1" to the
  // number of groups offered for the stored count (mailGroupsOffered);
  // false when the count was not taken as stored.
  void setEmptyState();
  bool fillMailGroups(const std::string& count);
  static constexpr int kMaxMailGroups = orvis::kMaxMailGroups;

  // A click or double click on the grid: loads the selected job.
  void loadSelectedJob();
  // Enables the fields that the chosen type uses.
  void arrangeForType();
  // A type radio button: its texts, then the enabling.
  void typeChosen(JobType type);
  // The dependent enabling of the check boxes, and the group name.
  void ownMailToggled();
  void ownCompareRulesToggled();
  void compareContentToggled();
  void wordCheckToggled();
  void mailGroupChosen();

  // "追加・更新" and "削除".
  void saveJob();
  void deleteJob();

  // The texts that follow the type: target label, example, preview caption.
  struct TypeTexts {
    std::string label, example, preview;
  };
  static TypeTexts typeTexts(JobType type);

 private:
  void showTypeTexts(JobType type);
  // The first line, trimmed, of the group file of a group; empty without one.
  std::string groupName(const std::string& group) const;
  // The first failed validation: its message and the field to focus.
  bool validate();
  JobRecord fromFields() const;
  void reloadList();
  void refuse(const std::string& message, EditorControl focus);

  const MessageBoxes& boxes_;
  std::string dataFolder_;
  JobFiles& files_;
  JobEditorView& view_;
  JobList& list_;
};

}  // namespace orvis

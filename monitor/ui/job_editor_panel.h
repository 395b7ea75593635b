#pragma once
// The job editor in the lower part of the main window: the fields of one
// check job, with their component names, captions, hints and limits.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QToolButton>

#include "monitor/catalogue/job_editor_view.h"

namespace orvis::ui {

class JobEditorPanel : public QGroupBox, public JobEditorView {
  Q_OBJECT
 public:
  explicit JobEditorPanel(QWidget* parent);

  // JobEditorView
  std::string text(EditorControl field) const override;
  void setText(EditorControl field, const std::string& text) override;
  std::vector<std::string> bodyLines() const override;
  void setBodyLines(const std::vector<std::string>& lines) override;
  bool checked(EditorControl box) const override;
  void setChecked(EditorControl box, bool on) override;
  bool enabled(EditorControl control) const override;
  void setEnabled(EditorControl control, bool on) override;
  void focus(EditorControl control) override;
  JobType type() const override;
  void setType(JobType type) override;
  void setTypeTexts(const std::string& targetLabel, const std::string& example,
                    const std::string& previewCaption) override;
  void setMailGroupItems(int count) override;
  void addMailGroupItem(const std::string& item) override;
  void removeLastMailGroupItem() override;
  int mailGroupIndex() const override;
  void setMailGroupIndex(int index) override;
  std::string mailGroupName() const override;
  void setMailGroupName(const std::string& name) override;

  QWidget* widgetFor(EditorControl control) const;

  QLineEdit* numberField;  // Edit1
  QLabel* targetCaption;   // Label7: by type
  QLineEdit* targetField;  // Edit2
  QLabel* targetExample;   // Label5: by type
  QLineEdit* nameField;    // Edit4
  QCheckBox* useProxyBox;
  QCheckBox* ownMailBox;
  QComboBox* mailGroupChoice;
  QLabel* mailGroupNameLabel;
  QLineEdit* subjectField;
  QPlainTextEdit* bodyField;
  QCheckBox* htmlMailBox;
  QCheckBox* ownCompareRulesBox;
  QCheckBox* compareContentBox;
  QGroupBox* ignoreGroup;
  QCheckBox* ignoreScriptBox;
  QCheckBox* ignoreCommentBox;
  QCheckBox* ignoreLinksBox;
  QCheckBox* ignoreSrcBox;
  QCheckBox* ignoreAltBox;
  QCheckBox* ignoreHeadBox;
  QCheckBox* wordCheckBox;
  QLineEdit* wordField;
  QRadioButton* urlTypeButton;
  QRadioButton* fileTypeButton;
  QRadioButton* procTypeButton;
  QRadioButton* driveTypeButton;
  QCheckBox* includeSubfoldersBox;
  QToolButton* previewButton;  // SpeedButton17: the target on screen
  QToolButton* saveButton;     // SpeedButton8 "追加・更新"
  QToolButton* deleteButton;   // SpeedButton2 "削除"
  QToolButton* historyButton;  // "履歴": the job's stored versions
};

}  // namespace orvis::ui

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

  QLineEdit* Edit1;  // job number
  QLabel* Label7;    // target caption, by type
  QLineEdit* Edit2;  // target
  QLabel* Label5;    // target example, by type
  QLineEdit* Edit4;  // name
  QCheckBox* chkUseProxy;
  QCheckBox* chkUseUserMail;
  QComboBox* cmbMailGroup;
  QLabel* pnlMailGroup;
  QLineEdit* txtUserMailSubject;
  QPlainTextEdit* txtUserMailBody;
  QCheckBox* chkUserMailHtml;
  QCheckBox* chkKobetsu;
  QCheckBox* chkHikaku;
  QGroupBox* grpIgnore;
  QCheckBox* chkScript;
  QCheckBox* chkComment;
  QCheckBox* chkRef;
  QCheckBox* chkSrc;
  QCheckBox* chkAlt;
  QCheckBox* chkHead;
  QCheckBox* chkWord;
  QLineEdit* txtWord;
  QRadioButton* rbUrl;
  QRadioButton* rbFile;
  QRadioButton* rbProc;
  QRadioButton* rbDrive;
  QCheckBox* chkSubFolder;
  QToolButton* SpeedButton17;  // target preview
  QToolButton* SpeedButton8;   // add / update
  QToolButton* SpeedButton2;   // delete
};

}  // namespace orvis::ui

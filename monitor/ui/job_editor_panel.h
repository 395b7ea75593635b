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

namespace orvis::ui {

class JobEditorPanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit JobEditorPanel(QWidget* parent);

  QLineEdit* Edit1;   // job number
  QLabel* Label7;     // target caption, by type
  QLineEdit* Edit2;   // target
  QLabel* Label5;     // target example, by type
  QLineEdit* Edit4;   // name
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

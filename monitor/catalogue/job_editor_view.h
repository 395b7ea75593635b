#pragma once
// The job editor's fields as the logic reads and sets them. Texts are CP932.

#include <string>
#include <vector>

#include "job_record.h"

namespace orvis {

// Every control of the editor, by what it holds.
enum class EditorControl {
  Number,             // Edit1
  Target,             // Edit2
  Name,               // Edit4
  Subject,            // txtUserMailSubject
  Body,               // txtUserMailBody
  Word,               // txtWord
  UseProxy,           // chkUseProxy
  OwnMail,            // chkUseUserMail
  HtmlMail,           // chkUserMailHtml
  OwnCompareRules,    // chkKobetsu
  CompareContent,     // chkHikaku
  IgnoreScript,       // chkScript
  IgnoreComment,      // chkComment
  IgnoreLinks,        // chkRef
  IgnoreSrc,          // chkSrc
  IgnoreAlt,          // chkAlt
  IgnoreHead,         // chkHead
  WordCheck,          // chkWord
  IncludeSubfolders,  // chkSubFolder
  MailGroup,          // cmbMailGroup
};

class JobEditorView {
 public:
  virtual ~JobEditorView() = default;

  // The one-line fields: Number, Target, Name, Subject, Word.
  virtual std::string text(EditorControl field) const = 0;
  virtual void setText(EditorControl field, const std::string& text) = 0;
  // The mail body, line by line.
  virtual std::vector<std::string> bodyLines() const = 0;
  virtual void setBodyLines(const std::vector<std::string>& lines) = 0;

  // The check boxes.
  virtual bool checked(EditorControl box) const = 0;
  virtual void setChecked(EditorControl box, bool on) = 0;

  virtual bool enabled(EditorControl control) const = 0;
  virtual void setEnabled(EditorControl control, bool on) = 0;
  virtual void focus(EditorControl control) = 0;

  // The type radio buttons (the first selected of URL, FILE, PROC, DRIVE)
  // and the texts that follow the type.
  virtual JobType type() const = 0;
  virtual void setType(JobType type) = 0;
  virtual void setTypeTexts(const std::string& targetLabel, const std::string& example,
                            const std::string& previewCaption) = 0;

  // The mail group selector: items "1" to count, the selected index (-1
  // for none), and the group name shown beside it.
  virtual void setMailGroupItems(int count) = 0;
  virtual void addMailGroupItem(const std::string& item) = 0;
  virtual void removeLastMailGroupItem() = 0;
  virtual int mailGroupIndex() const = 0;
  virtual void setMailGroupIndex(int index) = 0;
  virtual std::string mailGroupName() const = 0;
  virtual void setMailGroupName(const std::string& name) = 0;
};

}  // namespace orvis

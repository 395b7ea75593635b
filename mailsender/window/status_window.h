#pragma once
// Postiva's window: a borderless 290 x 35 status strip at the top-left
// corner of the screen, in which only the status panel shows. The work
// folder name, the count label and the three buttons lie outside the strip.

#include <QWidget>
#include <functional>

#include "mailsender/postiva_view.h"

class QLabel;
class QToolButton;

namespace orvis::postiva {

class StatusWindow : public QWidget, public PostivaView {
 public:
  explicit StatusWindow(QWidget* parent = nullptr);

  // The buttons' actions, set by whoever runs the session.
  std::function<void()> onSend, onTestSend, onAbort;
  // When set, a message box is handed here instead of being shown (tests).
  std::function<void(const QString& text, const QString& caption)> messageBoxHook;

  void setCaption(const std::string& text) override;
  void setWorkFolderName(const std::string& text) override;
  void setStatus(const std::string& text) override;
  void setCountText(const std::string& text) override;
  void setBusy(bool busy) override;
  void showMessage(const std::string& text, const std::string& caption) override;

 private:
  QLabel* statusPanel_;          // Panel3
  QLabel* workFolderLabel_;      // job
  QLabel* countLabel_;           // Label2
  QToolButton* sendButton_;      // SpeedButton1
  QToolButton* testSendButton_;  // SpeedButton2
  QToolButton* abortButton_;     // SpeedButton3
};

}  // namespace orvis::postiva

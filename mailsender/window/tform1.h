#pragma once
// Postiva's window: a borderless 290 x 35 status strip at the top-left
// corner of the screen, in which only Panel3 shows. The job name, the count
// label and the three buttons lie outside the strip.

#include <QWidget>
#include <functional>

#include "mailsender/postiva_view.h"

class QLabel;
class QToolButton;

namespace orvis::postiva {

class TForm1 : public QWidget, public PostivaView {
 public:
  explicit TForm1(QWidget* parent = nullptr);

  // The buttons' actions, set by whoever runs the session.
  std::function<void()> onSend, onTestSend, onAbort;
  // When set, a message box is handed here instead of being shown (tests).
  std::function<void(const QString& text, const QString& caption)> messageBoxHook;

  void setCaption(const std::string& text) override;
  void setJob(const std::string& text) override;
  void setStatus(const std::string& text) override;
  void setCountText(const std::string& text) override;
  void SetBusy(bool busy) override;
  void showMessage(const std::string& text, const std::string& caption) override;

 private:
  QLabel* Panel3;
  QLabel* job;
  QLabel* Label2;
  QToolButton* SpeedButton1;
  QToolButton* SpeedButton2;
  QToolButton* SpeedButton3;
};

}  // namespace orvis::postiva

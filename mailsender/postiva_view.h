#pragma once
// What the mail logic shows in Postiva's window: the status strip and the
// few controls around it. Texts are CP932; the window converts them.

#include <string>

namespace orvis::postiva {

class PostivaView {
 public:
  virtual ~PostivaView() = default;
  virtual void setCaption(const std::string& text) = 0;
  virtual void setWorkFolderName(const std::string& text) = 0;  // job
  virtual void setStatus(const std::string& text) = 0;          // Panel3
  virtual void setCountText(const std::string& text) = 0;       // Label2
  // Busy: the send and test-send buttons disabled and the status shown;
  // not busy: the buttons enabled and the status hidden.
  virtual void setBusy(bool busy) = 0;
  // A message box with an OK button and no icon; returns when answered.
  virtual void showMessage(const std::string& text, const std::string& caption) = 0;
};

}  // namespace orvis::postiva

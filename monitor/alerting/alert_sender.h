#pragma once
// What the check engine raises when it has something to report: the alert
// mail of one job. Both compose the mail files and run the mailer to its
// end before they return; neither reports anything back.

#include <string>

namespace orvis {

class AlertSender {
 public:
  virtual ~AlertSender() = default;

  // A change or fault found in the job of grid row `jobIndex` (from 1).
  // Texts are CP932; the difference text may be empty and may hold CR LF.
  virtual void sendAlert(int jobIndex, const std::string& target, const std::string& systemMessage,
                         const std::string& jobName, const std::string& differenceText) = 0;

  // The job of row `jobIndex` gave no usable answer in any sweep of the
  // pass. Logs job number + "->接続リトライオーバー" and mails the group.
  virtual void sendResponseErrorAlert(int jobIndex) = 0;
};

}  // namespace orvis

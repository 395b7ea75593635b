#include "alert_mail.h"

#include "alert_texts.h"
#include "mail_template.h"
#include "platform/codec.h"

namespace orvis {

std::optional<AlertMail::Job> AlertMail::job(int jobIndex) const {
  const JobRecord* j = jobs_.atRow(jobIndex);
  if (!j) {
    log_.write(SJIS("アラートメールの対象行がありません:") + std::to_string(jobIndex));
    return std::nullopt;
  }
  return Job{j->number,
             j->target,
             j->name,
             j->mailGroup,
             j->ownMail == Switch::On,
             j->htmlMail == Switch::On};
}

bool AlertMail::prepare(const Job& job) {
  // A mailer still reading the files from an alert further up finishes first.
  launcher_.waitForRunningMailer();
  std::string subject;
  if (job.userMail) {
    subject = files_.userSubject(job.number);
  } else {
    subject = alert_text::groupSubject(files_.groupName(job.group));
  }
  if (!files_.writeSubject(subject)) return false;
  return files_.recipientCount(job.group) > 0;
}

void AlertMail::sendAlert(int jobIndex, const std::string& target, const std::string& systemMessage,
                          const std::string& jobName, const std::string& differenceText) {
  std::optional<Job> j = job(jobIndex);
  if (!j || !prepare(*j)) return;
  std::vector<std::string> body =
      j->userMail ? fillTemplate(files_.userBody(j->number),
                                 {target, jobName, systemMessage, differenceText, j->html}, clock_)
                  : alert_text::systemMail(clock_, jobName, target, systemMessage, differenceText);
  if (!files_.writeBody(body)) return;
  launcher_.runMailer(j->group, alert_text::htmlFlag(j->userMail, j->html));
}

void AlertMail::sendResponseErrorAlert(int jobIndex) {
  std::optional<Job> j = job(jobIndex);
  if (!j) return;
  log_.write(j->number + SJIS("->接続リトライオーバー"));
  if (!prepare(*j)) return;
  const std::string& message = alert_text::responseError();
  // No difference here: "%diff" stays as the user wrote it.
  std::vector<std::string> body =
      j->userMail ? fillTemplate(files_.userBody(j->number),
                                 {j->uri, j->name, message, std::nullopt, j->html}, clock_)
                  : alert_text::systemMail(clock_, std::nullopt, j->uri, message, "");
  if (!files_.writeBody(body)) return;
  launcher_.runMailer(j->group, alert_text::htmlFlag(j->userMail, j->html));
}

}  // namespace orvis

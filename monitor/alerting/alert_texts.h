#pragma once
// The fixed texts of the alert mails and the system's own body, which is
// used when a job has no mail of its own.

#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace orvis::alert_text {

// "【ORVIS】システムからメールグループ[" + group name + "]への連絡です。"
std::string groupSubject(const std::string& groupName);

// The system message of a response-error alert.
const std::string& responseError();
// The system message of the mail test.
const std::string& testMessage();

// The system mail: greeting, empty line, date, time, the name line (only
// when a name is given), URL, content, empty line; then, when there is a
// difference text, its heading, the text with its own line breaks, and an
// empty line. Date and time are one reading of the clock.
std::vector<std::string> systemMail(const platform::Clock& clock,
                                    const std::optional<std::string>& name, const std::string& uri,
                                    const std::string& message, const std::string& difference);

// The HTML flag handed to the mail sender: only a job's own mail can be
// HTML; the system mail is plain text.
std::string htmlFlag(bool userMail, bool html);

}  // namespace orvis::alert_text

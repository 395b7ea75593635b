#pragma once

#include <string>
#include <vector>

namespace orvis {

// A job's own alert mail, as the editor holds it: the subject line and the
// body's lines, CP932.
struct JobMail {
  std::string subject;
  std::vector<std::string> body;
};

}  // namespace orvis

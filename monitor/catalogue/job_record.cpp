#include "job_record.h"

namespace orvis {

const char* resultCode(JobResult result) {
  switch (result) {
    case JobResult::NoChange:
      return "1";
    case JobResult::Changed:
      return "0";
    case JobResult::NoResponse:
      return "R";
    case JobResult::NotChecked:
      break;
  }
  return "-";
}

JobResult resultFromFile(std::string_view stored) {
  if (stored == "1") return JobResult::NoChange;
  if (stored == "0") return JobResult::Changed;
  return JobResult::NotChecked;
}

const char* baselineCode(BaselineState state) {
  return state == BaselineState::Captured ? "1" : "-";
}

BaselineState baselineFromFile(std::string_view stored) {
  return stored == "1" ? BaselineState::Captured : BaselineState::Missing;
}

}  // namespace orvis

#pragma once
// A job as its history needs it: what it watches and the rules a check
// takes for it (its own or the standard ones of ORVIS.ini), read from the
// files without writing anything, without retries and without a word in
// the log: the history is only looked at.

#include <optional>
#include <string>
#include <string_view>

#include "monitor/catalogue/job_record.h"
#include "monitor/engine/compare_rules.h"

namespace orvis {

struct HistoryJob {
  std::string number, name, target;  // CP932 as stored
  std::optional<JobType> type;       // nullopt for a type the monitor does not know
  CompareRules rules;
  std::string baseline;  // the path of the baseline
};

// The job of info/ whose number, blanks trimmed, is `number` (CP932).
std::optional<HistoryJob> findHistoryJob(const std::string& dataFolder, std::string_view number);

}  // namespace orvis

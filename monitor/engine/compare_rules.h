#pragma once
// The rules a job is checked under: its own, when its job file says so, or
// the standard ones of ORVIS.ini; and its word check. Each rule is a text
// that counts as set only when it is exactly "YES".

#include <functional>
#include <string>
#include <vector>

#include "monitor/engine/comparison/skip_switches.h"

namespace orvis {

struct CompareRules {
  bool own = false;         // the job's own rules (CHKKOBETSU "1")
  std::string sourceCheck;  // SOURCE_CHECK: compare the page, not only its answer
  std::string scriptIgnore, commentIgnore, hrefIgnore, srcIgnore, altIgnore, headIgnore;
  std::string wordCheck;  // "YES" or "NO"
  std::string word;

  bool comparesSource() const { return sourceCheck == "YES"; }
  bool checksWord() const { return wordCheck == "YES"; }
  SkipSwitches skips() const;

  // The lines that name the rules in the log, each after the job number:
  // which rules, then the seven settings, the word check and the word.
  std::vector<std::string> logLines(const std::string& jobNumber) const;
};

// A value of a file by its key; empty when missing.
using KeyReader = std::function<std::string(const char* key)>;

// The effective rules from the job file's keys and, for a job without rules
// of its own, ORVIS.ini's standard ones (an empty SOURCE_CHECK is "YES").
// The standard file is read only when it applies.
CompareRules effectiveRules(const KeyReader& jobFile, const KeyReader& standard);

}  // namespace orvis

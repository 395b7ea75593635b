#pragma once
// One check job as the monitor holds it: the fields of its job file
// "info/<no>.ini", typed. Texts are CP932 as stored. Loaded from the file,
// and built by the job editor for writing one.

#include <string>
#include <string_view>
#include <utility>

#include "stored_value.h"

namespace orvis {

// TYPE: the kind of target.
enum class JobType { Url, File, Proc, Drive };

// An on/off setting of the job file: "1" on, "0" off.
enum class Switch { Off, On };

template <>
struct StoredCodes<JobType> {
  static constexpr std::pair<JobType, std::string_view> kCodes[] = {{JobType::Url, "URL"},
                                                                    {JobType::File, "FILE"},
                                                                    {JobType::Proc, "PROC"},
                                                                    {JobType::Drive, "DRIVE"}};
};

template <>
struct StoredCodes<Switch> {
  static constexpr std::pair<Switch, std::string_view> kCodes[] = {{Switch::Off, "0"},
                                                                   {Switch::On, "1"}};
};

// CHECK: the result of the job's last check. The job file holds "1", "0"
// or "R"; a job loaded from it keeps only "1" and "0", anything else reads
// as not checked.
enum class JobResult {
  NotChecked,  // "-"
  NoChange,    // "1"
  Changed,     // "0": a change (or a failed comparison) was reported
  NoResponse,  // "R": no usable snapshot; retried within the pass
};

// SOURCE: whether the job has a baseline. The job file holds "1" when the
// last capture stored one and "0" when it failed; only "1" counts.
enum class BaselineState {
  Missing,   // "-"
  Captured,  // "1"
};

// The code of a result as the grid shows it and a check writes it.
const char* resultCode(JobResult result);
JobResult resultFromFile(std::string_view stored);
const char* baselineCode(BaselineState state);
BaselineState baselineFromFile(std::string_view stored);

struct JobRecord {
  std::string number;                          // NO: the job's identity
  std::string target;                          // URI: its form follows the type
  std::string name;                            // NAME
  StoredValue<Switch> useProxy = Switch::Off;  // USEPROXY
  StoredValue<Switch> ownMail = Switch::Off;   // USEUSERMAIL: the job's own subject and body
  StoredValue<Switch> htmlMail = Switch::Off;  // USERMAILHTML
  std::string mailGroup = "0";                 // MAILGROUP: from 0, -1 for none; as stored
  StoredValue<Switch> ownCompareRules =
      Switch::Off;  // CHKKOBETSU: the rules below, not the standard
  StoredValue<Switch> compareContent = Switch::Off;     // CHKHIKAKU: off tests the response only
  StoredValue<Switch> ignoreScript = Switch::Off;       // CHKSCRIPT
  StoredValue<Switch> ignoreComment = Switch::Off;      // CHKCOMMENT
  StoredValue<Switch> ignoreLinks = Switch::Off;        // CHKREF
  StoredValue<Switch> ignoreSrc = Switch::Off;          // CHKSRC
  StoredValue<Switch> ignoreAlt = Switch::Off;          // CHKALT
  StoredValue<Switch> ignoreHead = Switch::Off;         // CHKHEAD
  StoredValue<Switch> wordCheck = Switch::Off;          // CHKWORD
  std::string word;                                     // WORD
  StoredValue<Switch> includeSubfolders = Switch::Off;  // CHKSUBFOLDER
  StoredValue<JobType> type = JobType::Url;             // TYPE
  JobResult result = JobResult::NotChecked;             // CHECK
  BaselineState baseline = BaselineState::Missing;      // SOURCE
  // The job file it was loaded from (UTF-8), which its SOURCE and CHECK
  // go back to, whatever its NO says; empty for a job built in the editor.
  std::string file;
};

}  // namespace orvis

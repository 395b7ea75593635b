#pragma once
// The in-memory copies of ORVIS.ini that the monitor works with.

#include <string>

namespace orvis {

struct Settings {
  std::string validDay;                // VALIDDAY, passed unchanged to the log clean-up
  std::string playCount;               // PLAYCOUNTDISCON, a number only when an alarm starts
  std::string buzzerDevice;            // BUZZERDEVICE
  int checkInterval = 60;              // CHECKINTERVAL, minutes
  std::string reactivation = "02:00";  // REACTIVATION, "hh:nn"
  // The standard comparison rules; each counts as set only when "YES".
  std::string sourceCheck = "YES";
  std::string scriptIgnore, commentIgnore, hrefIgnore, srcIgnore, altIgnore, headIgnore;
  std::string mailGroupCount = "1";  // MAILGROUPCOUNT
  // METRICSFILE: where the metrics go after each automatic pass (a path,
  // relative ones in the data folder); empty for none.
  std::string metricsFile;
};

}  // namespace orvis

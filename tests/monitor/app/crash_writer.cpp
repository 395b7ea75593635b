// The writer that the crash test kills: the monitor logic on fakes, in the
// data folder given, writing round after round everything it keeps on disk
// (settings, mode file, a job file, the recipient list, the system log) and
// running a check pass whose page always changed (baseline and word-check
// generations), with a baseline capture every third round.
//
//   crash_writer FOLDER setup    lays out the data folder
//   crash_writer FOLDER ROUNDS   runs ROUNDS rounds (0: until killed)

#include <cstdio>
#include <cstdlib>
#include <string>

#include "crash_files.h"
#include "monitor/settings/mail_groups.h"
#include "monitor/shell/mode_file.h"
#include "platform/bytes.h"
#include "support/check_rig.h"

using namespace orvis;
using namespace orvis::testing;

namespace {

void setUp(const std::string& folder) {
  std::string settings = "[COMMON]\r\nCHECKINTERVAL=5\r\n";
  for (int k = 0; k < kFillerKeys; ++k) settings += fillerKey(k) + "\r\n";
  writeText(folder + "ORVIS.ini", settings + "[END]\r\nLAST=1\r\n");
  std::string job = "[COMMON]\r\nNO=1\r\nURI=" + std::string(kPageUri) +
                    "\r\nNAME=watched\r\nMAILGROUP=0\r\nTYPE=URL\r\nSOURCE=1\r\nCHECK=\r\nCHKWORD="
                    "1\r\nWORD=page\r\n";
  for (int k = 0; k < kFillerKeys; ++k) job += fillerKey(k) + "\r\n";
  writeText(folder + "info/1.ini", job + "[END]\r\nLAST=1\r\n");
  writeText(folder + "src/1.ini", pageText(0));
  writeText(folder + "mail/list.txt", "watch@example.com,0\r\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::string folder = argv[1];
  if (std::string(argv[2]) == "setup") {
    setUp(folder);
    return 0;
  }
  const long rounds = std::strtol(argv[2], nullptr, 10);
  CheckRig rig({}, folder);
  rig.start();
  const Services& s = rig.monitor->services();
  ModeFile mode(s.ini, folder);
  MailGroups groups(folder);
  // Pages go on from the newest one kept, whatever the last run finished.
  long page = newestPage(folder) + 1;
  for (long round = 0; rounds == 0 || round < rounds; ++round, ++page) {
    const std::string n = std::to_string(page);
    s.ini.write(rig.path("ORVIS.ini"), "COMMON", "ROUND", n);
    mode.save(static_cast<int>(page % 2));
    s.ini.write(rig.path("info/1.ini"), "COMMON", "ROUND", n);
    std::vector<std::string> recipients;
    for (int k = 0; k < kRecipients; ++k)
      recipients.push_back("r" + n + "-" + std::to_string(k) + "@example.com");
    groups.storeRecipients(1, recipients);
    s.log.write("round " + n + " " + std::string(400, 'x'));
    rig.pages[kPageUri] = pageText(page);
    if (rig.check(1, 1) != CheckPass::End::Completed) return 3;
    if (page % 3 == 0) {
      rig.grid.top = rig.grid.bottom = 1;
      rig.monitor->jobList().selectCell(0, 1);
      rig.monitor->capture().captureSelectedJobs();
    }
  }
  return 0;
}

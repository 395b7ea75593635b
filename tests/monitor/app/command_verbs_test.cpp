// The command line's verbs: how arguments are read, and what the verbs
// report where only fakes reach (a fetcher that cannot start).

#include "monitor/app/command_verbs.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/monitor_rig.h"

namespace orvis {
namespace {

using Verb = CommandLine::Verb;

TEST(CommandLineTest, VerbsAndStartParameters) {
  struct Case {
    std::vector<std::string> args;
    Verb verb;
    std::vector<std::string> numbers;
  };
  const Case cases[] = {
      {{}, Verb::Start, {}},
      {{"OrvisWatch"}, Verb::Start, {}},
      {{"OrvisWatchService", "--check"}, Verb::Start, {}},  // a start parameter keeps its meaning
      {{"anything"}, Verb::Start, {}},
      {{"--capture"}, Verb::Capture, {}},
      {{"--capture", "3", "10"}, Verb::Capture, {"3", "10"}},
      {{"--check", "監視1"}, Verb::Check, {"監視1"}},
      {{"--help"}, Verb::Help, {}},
      {{"-h"}, Verb::Help, {}},
      {{"--version"}, Verb::Version, {}},
      {{"--chek"}, Verb::Invalid, {}},
      {{"-style"}, Verb::Start, {}},  // the toolkit's words are start parameters
      {{"-"}, Verb::Start, {}},
      {{"--check", "--all"}, Verb::Invalid, {}},
      {{"--check", "1", ""}, Verb::Invalid, {}},
      {{"--version", "1"}, Verb::Invalid, {}},
  };
  for (const Case& c : cases) {
    const CommandLine line = CommandLine::parse(c.args);
    const std::string given = c.args.empty() ? "(none)" : c.args.front();
    EXPECT_EQ(line.verb, c.verb) << given;
    EXPECT_EQ(line.jobNumbers, c.numbers) << given;
    EXPECT_EQ(line.error.empty(), c.verb != Verb::Invalid) << given;
  }
}

// A job whose fetcher cannot be started is not checked at all: its job file
// keeps the result of an earlier pass, which must not be read as this one's.
TEST(CommandVerbsTest, AJobNotCheckedIsNeverReportedByItsOldResult) {
  testing::MonitorRig rig;
  rig.writeJob("1",
               {"NO=1", "URI=http://127.0.0.1/", "NAME=page", "TYPE=URL", "SOURCE=1", "CHECK=1"});
  rig.writeJob("2", {"NO=2", "URI=/", "NAME=disk", "TYPE=DRIVE", "SOURCE=1", "CHECK=0"});
  testing::writeText(rig.path("src/1.ini"), "old");
  testing::writeText(rig.path("src/2.ini"), "1000\r\n");
  rig.launcher.failing = true;
  MonitorHost host{rig.dir.path(), StartInfo{},   rig.clock, rig.pump, rig.prompter,
                   rig.launcher,   rig.processes, rig.disks, rig.sound};
  std::ostringstream out, err;
  CommandVerbs verbs(host, out, err);

  EXPECT_EQ(verbs.run(CommandLine::parse({"--check"})), exitcode::kNoResponse);
  EXPECT_EQ(out.str(), "1\tnot checked\tpage\n2\tOK\tdisk\n");
  EXPECT_TRUE(rig.prompter.questions().empty());  // boxes answer as in the service start
}

}  // namespace
}  // namespace orvis

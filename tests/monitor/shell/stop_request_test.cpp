// A request to end while actions run: the running ones give up, the stop
// sequence runs once, after the outermost one has returned, and nothing
// starts or asks after it.

#include "monitor/shell/stop_request.h"

#include <gtest/gtest.h>

#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/temp_dir.h"

using namespace orvis;
using namespace orvis::testing;
using Events = std::vector<std::string>;

TEST(StopRequest, RunsTheStopOnceWhenNoActionRunsAnyLonger) {
  TempDir dir;
  FakeClock clock;
  FakePrompter prompter;
  SysLog log{dir.path(), clock};
  platform::StopFlag flag;
  MessageBoxes boxes{log, prompter, false, flag};
  StopRequest stop{flag, boxes};
  Events events;
  stop.setStopSequence([&] { events.push_back("stop sequence"); });
  // Asked from a question of an action that another one's wait let run.
  prompter.onAsk = [&](const FakePrompter::Question&) { stop.request(); };
  stop.runAction([&] {
    stop.runAction([&] {
      EXPECT_EQ(boxes.show("question", "OrvisWatch", mb::OK), mb::IdNone);
      EXPECT_EQ(boxes.show("later", "OrvisWatch", mb::OK), mb::IdNone);  // never opens
      events.push_back("inner returns");
    });
    stop.runAction([&] { events.push_back("never"); });
    events.push_back("outer returns");
  });
  stop.request();
  EXPECT_EQ(events, (Events{"inner returns", "outer returns", "stop sequence"}));
  EXPECT_EQ(prompter.questions().size(), 1u);
  // The closed one is logged as unanswered; the one never opened not at all.
  EXPECT_EQ(readLogLines(dir / "syslog/"), std::vector<std::string>{"(OrvisWatch),question->0"});

  // When idle, the request stops at once.
  StopRequest idle{flag, boxes};
  idle.setStopSequence([&] { events.push_back("idle stop"); });
  idle.request();
  EXPECT_EQ(events.back(), "idle stop");
}

#include "monitor/shell/message_boxes.h"

#include <gtest/gtest.h>

#include "platform/codec.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/temp_dir.h"

using namespace orvis;
using namespace orvis::testing;

TEST(MessageBoxes, NormalStartAsksAndLogsTheAnswer) {
  TempDir dir;
  FakeClock clock;
  FakePrompter prompter;
  SysLog log(dir.path(), clock);
  platform::StopFlag stop;
  MessageBoxes boxes(log, prompter, false, stop);
  prompter.answer(mb::IdCancel);
  EXPECT_EQ(boxes.show(SJIS("終了してもよろしいですか？"), "OrvisWatch", 257), 2);
  ASSERT_EQ(prompter.questions().size(), 1u);
  EXPECT_EQ(prompter.questions()[0].flags, 257);
  EXPECT_EQ(readLogLines(dir / "syslog/"),
            std::vector<std::string>{"(OrvisWatch)," + SJIS("終了してもよろしいですか？") + "->2"});
}

TEST(MessageBoxes, ServiceStartAnswersWithTheDefaultButtonWithoutAWindow) {
  TempDir dir;
  FakeClock clock;
  FakePrompter prompter;
  SysLog log(dir.path(), clock);
  platform::StopFlag stop;
  MessageBoxes boxes(log, prompter, true, stop);
  EXPECT_EQ(boxes.show("a", "OrvisWatch", 0), 1);
  EXPECT_EQ(boxes.show("b", "OrvisWatch", 48), 1);
  EXPECT_EQ(boxes.show("c", "OrvisWatch", 1), 1);
  EXPECT_EQ(boxes.show("d", "OrvisWatch", 257), 2);
  EXPECT_EQ(boxes.show("e", "OrvisWatch", 305), 2);
  EXPECT_TRUE(prompter.questions().empty());
  EXPECT_EQ(readLogLines(dir / "syslog/"),
            (std::vector<std::string>{"(OrvisWatch),a->1", "(OrvisWatch),b->1", "(OrvisWatch),c->1",
                                      "(OrvisWatch),d->2", "(OrvisWatch),e->2"}));
}

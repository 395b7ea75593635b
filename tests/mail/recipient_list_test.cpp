// The two readings of a recipient line, and a group's lines: the rules the
// alerts count by, alertmail mails by and the settings dialog lists and
// rewrites by.

#include "mail/recipient_list.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

using namespace orvis::mail;
using orvis::testing::TempDir;

namespace {

std::vector<std::string> fieldsOf(const char* line) {
  auto r = RecipientLine::parse(line);
  if (!r) return {};
  return {r->address, r->group};
}

}  // namespace

TEST(RecipientLine, SplitsIntoAddressAndGroupOnlyWhenThereAreExactlyTwoFields) {
  using V = std::vector<std::string>;
  EXPECT_EQ(fieldsOf("a@x.test,2 "), (V{"a@x.test", "2"}));
  EXPECT_EQ(fieldsOf("  a@x.test ,\t2"), (V{"a@x.test", "2"}));
  // A blank ends a field as a comma does.
  EXPECT_EQ(fieldsOf("a@x.test 2"), (V{"a@x.test", "2"}));
  EXPECT_EQ(fieldsOf(",2"), (V{"", "2"}));
  EXPECT_EQ(fieldsOf("\"Sales Desk@x.test\",1"), (V{"Sales Desk@x.test", "1"}));
  EXPECT_EQ(fieldsOf("\"a\"\"b@x.test\",1"), (V{"a\"b@x.test", "1"}));
  // A trailing comma gives no field; an address alone is no recipient line.
  EXPECT_FALSE(RecipientLine::parse("a@x.test,"));
  EXPECT_FALSE(RecipientLine::parse("a@x.test"));
  EXPECT_FALSE(RecipientLine::parse(""));
  EXPECT_FALSE(RecipientLine::parse("a@x.test,1,2"));
  EXPECT_FALSE(RecipientLine::parse("a@x.test,,1"));
}

TEST(RecipientLine, TheSendersReadingSplitsAtTheFirstCommaOnly) {
  RecipientLine r = RecipientLine::splitAtFirstComma("a@x ,  0,x");
  EXPECT_EQ(r.address, "a@x ");
  EXPECT_EQ(r.group, "  0,x");
  r = RecipientLine::splitAtFirstComma("no comma");
  EXPECT_EQ(r.address, "no comma");
  EXPECT_EQ(r.group, "");
}

TEST(RecipientList, CountsTheLinesOfAGroupByTheTextOfItsNumber) {
  RecipientList list({"a@x.test,1", "b@x.test,01", "c@x.test, 1 ", "d@x.test", "e@x.test,1,1",
                      "f@x.test,2", ",1"});
  EXPECT_EQ(list.count("1"), 3);  // a, c and the empty address
  std::vector<RecipientLine> members = list.members("1");
  ASSERT_EQ(members.size(), 3u);
  EXPECT_EQ(members[1].address, "c@x.test");  // fields come trimmed
  EXPECT_EQ(members[2].address, "");
  EXPECT_EQ(list.count("01"), 1);
  EXPECT_EQ(list.count("2"), 1);
  EXPECT_EQ(list.count("-1"), 0);
  EXPECT_EQ(list.count("0"), 0);
}

TEST(RecipientList, ListsAGroupsAddressesAsWrittenBeforeTheFirstComma) {
  RecipientList list({"a@x.test,1", " b@x.test ,1", "c@x.test,2", "d@x.test 1", "e@x.test"});
  EXPECT_EQ(list.addresses("1"),
            (std::vector<std::string>{"a@x.test", " b@x.test ", "d@x.test 1"}));
  EXPECT_TRUE(list.addresses("3").empty());
}

TEST(RecipientList, KeepsOtherGroupsLinesUnchangedAndDropsStrayLines) {
  RecipientList list(
      {"a@x.test,0", "b@x.test,1", " c@x.test , 2", "no-group@x.test", "d@x.test,1", "e@x.test,0"});
  EXPECT_EQ(list.otherGroupLines("1"),
            (std::vector<std::string>{"a@x.test,0", " c@x.test , 2", "e@x.test,0"}));
}

TEST(RecipientList, LoadsTheFileLineByLineAndTellsAMissingListApart) {
  TempDir dir;
  EXPECT_FALSE(RecipientList::load(dir / "mail/list.txt"));
  orvis::testing::writeText(dir / "mail/list.txt",
                            "a@x.test,0\r\nb@x.test,0\r\n\r\nc@x.test,1\r\n");
  auto list = RecipientList::load(dir / "mail/list.txt");
  ASSERT_TRUE(list);
  EXPECT_EQ(list->lines().size(), 4u);
  EXPECT_EQ(list->count("0"), 2);
  orvis::testing::writeText(dir / "mail/empty.txt", "");
  auto empty = RecipientList::load(dir / "mail/empty.txt");
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->count("0"), 0);
}

#include "alertmail/group_recipients.h"

#include <gtest/gtest.h>

#include "platform/bytes.h"

namespace orvis::alertmail {
namespace {

using Addresses = std::vector<std::string>;

GroupRecipients select(std::string_view listText, std::string_view group) {
  return selectGroupRecipients(mail::RecipientList(platform::splitLines(listText)), group);
}

TEST(GroupRecipients, OnlyLinesOfExactlyTwoFieldsForTheGroup) {
  const std::string list =
      "a@x.jp,0\r\n"
      "b@x.jp,1\r\n"
      "c@x.jp,1 \r\n"        // a trailing blank ends the field
      "d@x.jp\r\n"           // one field
      "e@x.jp,1,2\r\n"       // three fields
      "\"f@x.jp\",1\r\n"     // quoted
      "\" l@x.jp\t\",1\r\n"  // quoted, with blanks that are no part of it
      "\"g h\"@x.jp,1\r\n"   // text after the closing quote is a field of its own
      "i@x.jp , 1\n"         // blanks around the comma, LF only
      "j@x.jp,01\r\n"        // the group is compared as text
      "\r\n"
      "k@x.jp,1";
  EXPECT_EQ(select(list, "1").addresses,
            (Addresses{"b@x.jp", "c@x.jp", "f@x.jp", "l@x.jp", "i@x.jp", "k@x.jp"}));
  EXPECT_EQ(select(list, "0").addresses, (Addresses{"a@x.jp"}));
  EXPECT_TRUE(select(list, "2").addresses.empty());
  EXPECT_TRUE(select("", "0").addresses.empty());
}

TEST(GroupRecipients, EmptyAndRepeatedAddressesCountedNotSent) {
  // The domain is compared without case, the local part with it: only the
  // receiving server may say that A@x.jp and a@x.jp are one mailbox.
  GroupRecipients s = select(
      "\" \",0\r\na@x.jp,0\r\nb@x.jp,0\r\na@x.jp,0\r\na@X.JP,0\r\nA@x.jp,0\r\nA@x.jP,0\r\n", "0");
  EXPECT_EQ(s.addresses, (Addresses{"a@x.jp", "b@x.jp", "A@x.jp"}));
  EXPECT_EQ(s.emptyAddresses, 1);
  EXPECT_EQ(s.duplicates, 3);
}

}  // namespace
}  // namespace orvis::alertmail

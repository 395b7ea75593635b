#pragma once
// How many mail groups the lists offer for the stored group count
// (MAILGROUPCOUNT). The job editor's list and the settings dialog's list
// both come from here, so that an item means the same group in both.

#include <string>

namespace orvis {

// A count beyond this (a damaged file) offers this many, so that no list
// takes for ever to fill.
inline constexpr int kMaxMailGroups = 1000;

struct MailGroupsOffered {
  int count = 1;
  // False when the stored text was not taken as it stands.
  bool asStored = true;
};

// Group 0 always exists: a count that is no whole number of at least 1
// offers that one group.
MailGroupsOffered mailGroupsOffered(const std::string& stored);

}  // namespace orvis

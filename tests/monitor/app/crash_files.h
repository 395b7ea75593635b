#pragma once
// What the crash writer keeps on disk and how the crash test judges it:
// each file must be a whole old or new version, each log line whole, and the
// generations of a baseline without a gap or a torn copy.

#include <string>
#include <vector>

namespace orvis::testing {

inline constexpr int kFillerKeys = 2000;
inline constexpr int kRecipients = 300;
inline constexpr const char* kPageUri = "http://example.com/watched";

std::string fillerKey(int k);
// Page `n`: long enough that writing it takes many writes.
std::string pageText(long n);
// The number of the page the file holds; -1 when it is not a whole page.
long pageNumberOf(const std::string& text);
// The newest page of the job's baseline and its first generation; 0 for none.
long newestPage(const std::string& folder);
// Everything found damaged in the data folder; empty when all is sound.
std::vector<std::string> damage(const std::string& folder);

}  // namespace orvis::testing

#pragma once
// The comparison's log lines and alert messages, as CP932 bytes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvis::comparison_texts {

const std::string& goodCode();
const std::string& sourceInvalid();
const std::string& sizesDiffer();
const std::string& cannotOpenAlert();
const std::string& zeroBytesAlert();
const std::string& differenceAlert();
// An attribute value that ends among the bytes already taken in.
const std::string& endAlreadyRead();

// The six lines that place a difference.
std::vector<std::string> differenceLines(std::uint64_t counter, char baselineByte,
                                         char snapshotByte, std::string_view context);

}  // namespace orvis::comparison_texts

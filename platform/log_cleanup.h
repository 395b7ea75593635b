#pragma once
// Day-log folders that do not grow for ever: each program keeps the
// first-listed day files of its log folders beyond the number to keep
// deleted. The day files are named by their date, so the listing (ascending
// byte order) runs oldest first. The number to keep is the "VALIDDAY"
// setting of the data folder's ORVIS.ini, [COMMON]: a number of files, not
// of days, since days without a file do not count.

#include <functional>
#include <string>
#include <vector>

namespace orvis::platform {

inline constexpr const char* kDayFileMask = "????????.txt";

// `keep` as text; 10 when it is empty or not a whole number, nothing kept
// when it is 0 or negative.
size_t dayFilesToKeep(const std::string& keep);

// "VALIDDAY" of dataFolder + "ORVIS.ini" as stored; empty when it cannot
// be read.
std::string validDaySetting(const std::string& dataFolder);

// Deletes the first-listed entries of `folder` that match `mask` (any
// kind) beyond dayFilesToKeep(keep), calling `deleted` with the path of each
// one it tried to delete. An entry that cannot be deleted is passed over, so
// the clean-up always ends.
void deleteOldDayFiles(const std::string& folder, const std::string& mask, const std::string& keep,
                       const std::function<void(const std::string& path)>& deleted);

// The clean-up of a companion program's log folders (each with a trailing
// '/') by the data folder's setting: `log` gets "DeleteLog->" + path (CP932)
// for every file deleted.
void tidyLogFolders(const std::vector<std::string>& folders, const std::string& dataFolder,
                    const std::function<void(const std::string& line)>& log);

}  // namespace orvis::platform

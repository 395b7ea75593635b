#pragma once
// Where the files of a job live. A job number becomes part of a file name;
// one that could lead out of its folder gives no path at all, so that
// nothing is ever created, copied or deleted elsewhere. The number is CP932
// text; on disk the name is UTF-8, as the system names files.

#include <optional>
#include <string>
#include <string_view>

namespace orvis {

inline constexpr const char* kTempFolder = "temp/";
inline constexpr const char* kSnapshotFile = "temp/srctemp.txt";
// Written by the Windows listing only; still removed after a capture.
inline constexpr const char* kListingBatch = "temp/srctemp.bat";
inline constexpr const char* kBaselineFolder = "src/";
inline constexpr const char* kJobFolder = "info/";
inline constexpr const char* kWordFolder = "word/";
inline constexpr const char* kUserMailFolder = "userMail/";

// A name made of the job number stays inside its folder: no '/' (CP932
// trail bytes never take that value) and no NUL. A blank number names no
// job, and all such jobs would share one file: it counts as unusable too.
bool usableAsFileName(std::string_view jobNumber);

// folder + job number + extension, the number as given; nullopt when it
// would leave the folder.
std::optional<std::string> jobFileIn(const std::string& dataFolder, std::string_view folder,
                                     std::string_view jobNumber,
                                     std::string_view extension = ".ini");

// The file of mail group `group` (its number as text): "mail/Group-" + n + ".txt".
std::string mailGroupFile(const std::string& dataFolder, std::string_view group);

// "src/" + the job number unchanged + ".ini".
std::optional<std::string> baselinePath(const std::string& dataFolder, std::string_view jobNumber);

// "info/" + the job number trimmed of blanks + ".ini".
std::optional<std::string> jobFilePath(const std::string& dataFolder, std::string_view jobNumber);

}  // namespace orvis

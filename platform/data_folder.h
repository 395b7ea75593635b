#pragma once
// Where the programs keep their files. The data folder is $ORVIS_DATA when
// it is set, else the folder of the running program's executable: an
// installed folder holds both, and keeps working unchanged. With the
// variable set (the package: programs in /opt/orviswatch, data in
// /var/lib/orviswatch) the programs and the data lie apart.

#include <string>

namespace orvis::platform {

inline constexpr const char* kDataFolderVariable = "ORVIS_DATA";

// The data folder, absolute, with a trailing '/'. A relative $ORVIS_DATA is
// taken from the working folder; an empty one counts as not set.
std::string dataFolder();

// The data folder as dataFolder() gives it, also put into $ORVIS_DATA so
// that every program started from here (whose working folder is the data
// folder, where a relative value would mean something else) works on the
// same folder. Call before any thread starts.
std::string settleDataFolder();

}  // namespace orvis::platform

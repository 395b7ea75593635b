#pragma once
// The resolution under openFile (open_file.h): a path opened below an open
// folder with no symbolic link on the way and nothing above the folder.

#include <optional>
#include <string>
#include <string_view>

namespace orvis::platform {

// `relative` without "." and "..", doubled or leading slashes; nullopt when
// a ".." would lead above its start.
std::optional<std::string> normalizeBelow(std::string_view relative);

// openat(folderFd, relative, flags, mode) where no component of `relative`
// is a symbolic link (ELOOP) and none is ".." (EXDEV); -1 with errno on
// failure. `byKernel`: openat2 with RESOLVE_NO_SYMLINKS | RESOLVE_BENEATH
// where the kernel has it; otherwise, and with false, one openat step with
// O_NOFOLLOW per component. An empty `relative` opens the folder itself.
int openBeneath(int folderFd, std::string_view relative, int flags, unsigned mode,
                bool byKernel = true);

// Opens the folder `relative` below `folderFd` (O_RDONLY | O_DIRECTORY),
// making every missing folder on the way, one O_NOFOLLOW step at a time.
int makeFoldersBeneath(int folderFd, std::string_view relative);

}  // namespace orvis::platform

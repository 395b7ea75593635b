#pragma once
// The FILE snapshot: the listing that `dir` gave on Windows, taken from the
// file system directly. One line per file, "yyyy/mm/dd hh:nn:ss@" + folder +
// "/" + name in CP932; the single line "@" when nothing is listed.
//
// Order: a folder's entries in ascending byte order of their names, its files
// before its sub-folders, sub-folders depth-first. Dot names are hidden and
// skipped, as `dir` skips hidden files (a mask that starts with '.' still
// names dot files); sub-folders reached through a symbolic link are neither
// listed nor walked, so a link cannot make the walk run in circles.

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/pump.h"
#include "pump_throttle.h"
#include "wildcard_mask.h"

namespace orvis {

class FileListing {
 public:
  // A relative target is taken from `dataFolder`, where the listing batch
  // used to run. Queued messages run every `pumpEveryMs` while it lists.
  FileListing(std::string dataFolder, platform::Pump& pump, const platform::StopFlag& stop,
              int pumpEveryMs = 50)
      : dataFolder_(std::move(dataFolder)), throttle_(pump, stop, pumpEveryMs) {}

  // `target` (UTF-8): a folder lists its files; anything else lists the
  // entries of its parent folder that its last component (a name, or a mask
  // with '*' and '?') selects. With `subfolders` the same holds in every
  // folder below. Lines end with CR LF. Nothing when the program was asked
  // to end meanwhile: half a listing must never pass for a snapshot.
  std::optional<std::string> list(const std::string& target, bool subfolders);

  // The same listing handed to `write` in pieces of some hundred kilobytes
  // as it is taken, so that it is never held whole. False when it was given
  // up, or when `write` said a piece was not written (the listing stops
  // there): what was written by then is no snapshot.
  using Writer = std::function<bool(std::string_view piece)>;
  bool listTo(const std::string& target, bool subfolders, const Writer& write);

  // The placeholder stamp of a file whose time cannot be read.
  static constexpr const char* kNoTime = "yyyy/mm/dd hh:nn:ss";

 private:
  void walk(const std::string& folder, const std::string& folderText, const WildcardMask& mask,
            bool subfolders);
  // Hands the lines taken so far on; false (and the listing given up) when
  // they were not written.
  bool handOn();
  const std::string& stamp(time_t seconds);

  std::string dataFolder_;
  PumpThrottle throttle_;
  bool givenUp_ = false;
  const Writer* write_ = nullptr;
  std::string piece_;  // the lines not handed on yet
  bool handedOn_ = false;
  // Files of one folder mostly share their times.
  std::optional<time_t> stampSeconds_;
  std::string stampText_;
};

}  // namespace orvis

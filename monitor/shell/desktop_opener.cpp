#include "desktop_opener.h"

#include "platform/bytes.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/process_wait.h"

namespace orvis {

namespace {
constexpr int kSettleMs = 500;
}  // namespace

void DesktopOpener::open(const std::string& target) {
  const std::string folder = s_.path("temp/");
  // The handler starts in "temp/"; a data folder without one must not make
  // every opening fail.
  platform::makeFolders(folder);
  // One word whatever the target holds: a path with blanks stays whole.
  auto started = s_.launcher.launch(std::string(kProgram) + " " + platform::quoteArgument(target),
                                    folder, platform::WindowMode::Shown);
  if (!started) {
    s_.log.write(SJIS("起動失敗"));
    // Why, for the operator (no desktop handler installed, say).
    if (!started.error.empty()) s_.log.write(started.error);
  } else {
    s_.log.write(SJIS("起動成功"));
    // Asked to end meanwhile: the handler is left to the user, and nothing
    // more is written.
    bool interrupted = !platform::letMessagesRun(s_.pump, s_.stop);
    if (!interrupted) {
      s_.clock.sleepMs(kSettleMs);
      interrupted =
          platform::waitPumping(*started.handle, s_.pump, s_.stop) == platform::kWaitInterrupted;
    }
    started.handle->close();
    if (interrupted) return;
  }
  s_.log.write(SJIS("起動処理終了"));
}

}  // namespace orvis

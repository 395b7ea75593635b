#include "monitor/engine/comparison/skip_switches.h"

namespace orvis {

SkipSwitches SkipSwitches::fromSettings(std::string_view script, std::string_view comment,
                                        std::string_view href, std::string_view src,
                                        std::string_view alt, std::string_view head) {
  auto on = [](std::string_view text) { return text == "YES"; };
  return {on(script), on(comment), on(href), on(src), on(alt), on(head)};
}

SkipSwitches SkipSwitches::all() { return {true, true, true, true, true, true}; }

}  // namespace orvis

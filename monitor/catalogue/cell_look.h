#pragma once

namespace orvis {

// How one cell of the job grid is drawn: its colours, and the picture drawn
// instead of its text.
struct CellLook {
  enum class Picture { None, Result, Mark };
  unsigned background;  // 0xRRGGBB
  unsigned textColor;
  Picture list = Picture::None;
  int picture = -1;
};

}  // namespace orvis

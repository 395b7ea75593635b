#pragma once

namespace orvis {

// A column of the job grid: its caption and width.
struct JobGridColumn {
  const char* caption;  // UTF-8
  int width;
};

inline constexpr JobGridColumn kJobGridColumns[12] = {
    {"№", 60},      {"名称", 150}, {"ﾕｰｻﾞML", 45},        {"HTML", 45},
    {"MLGRP", 45},  {"PROXY", 45}, {"チェック対象", 365}, {"結果", 45},
    {"比較元", 45}, {"個別", 45},  {"ﾜｰﾄﾞ", 45},          {"TYPE", 45},
};

}  // namespace orvis

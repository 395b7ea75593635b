#include "job_selection.h"

#include "platform/codec.h"

namespace orvis {

std::optional<std::pair<int, int>> selectedJobRows(const JobGridView& grid, const JobList& list,
                                                   const JobTable& jobs, const MessageBoxes& boxes,
                                                   const SysLog& log) {
  const int first = grid.selectionTop();
  const int last = grid.selectionBottom();
  if (first == 0 && last == 0) {
    boxes.show(SJIS("選択領域が異常です。"), "OrvisWatch", mb::OK);
    log.write("invalid selection.");
    return std::nullopt;
  }
  const JobRecord* clicked = jobs.atRow(list.selectedRow());
  if (!clicked || clicked->number.empty()) {
    boxes.show(SJIS("リスト上で対象をクリックし単独選択するか、複数選択してください。"),
               "OrvisWatch", mb::OK);
    return std::nullopt;
  }
  return std::make_pair(first == 0 ? 1 : first, last);
}

}  // namespace orvis

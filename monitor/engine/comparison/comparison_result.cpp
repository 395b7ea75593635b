#include "monitor/engine/comparison/comparison_result.h"

namespace orvis {

int ComparisonResult::code() const {
  switch (outcome) {
    case ComparisonOutcome::Equal:
      return 0;
    case ComparisonOutcome::Difference:
      return -3;
    default:
      return -1;
  }
}

}  // namespace orvis

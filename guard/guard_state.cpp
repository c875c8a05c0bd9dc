#include "guard/guard_state.h"

namespace zorvix {

GuardState& Guard() {
  static GuardState state;
  return state;
}

}  // namespace zorvix

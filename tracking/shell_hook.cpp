#include "tracking/shell_hook.h"

namespace pelvanto::tracking {}  // namespace pelvanto::tracking

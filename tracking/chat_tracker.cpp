#include "tracking/chat_tracker.h"

namespace pelvanto::tracking {}  // namespace pelvanto::tracking

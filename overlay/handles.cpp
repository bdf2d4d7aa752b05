#include "overlay/overlay.h"

namespace pelvanto::overlay {}  // namespace pelvanto::overlay

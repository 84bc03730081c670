// Text records of the player. None are registered yet: they count as unhandled.
#include "platform/gdi/player_internal.h"

namespace pw::gdi {

void RegisterTextHandlers(HandlerTable&) {}

}  // namespace pw::gdi

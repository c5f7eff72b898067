#pragma once

#include "controls/packed_date_time.h"

namespace ksv {

// The current local time, weekday 0 = Sunday.
PackedDateTime LocalNow();

} // namespace ksv

#pragma once

// Everything that turns device values into text and typed text back into values.
#include "controls/calendar_days.h"
#include "controls/date_time_format.h"
#include "controls/number_format.h"
#include "controls/number_parse.h"
#include "controls/packed_date_time.h"
#include "controls/time_locale.h"

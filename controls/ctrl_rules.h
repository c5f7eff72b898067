#pragma once

#include "controls/appearance_table.h"
#include "controls/control_kind.h"
#include "controls/packed_date_time.h"

#include <cstdint>
#include <string>
#include <vector>

// The decisions controls make on input and device data, apart from any window.

// A latch's new state on a tap: a latch with the editable bit goes off, a grouped one on, an
// ungrouped one toggles.
uint8_t NextLatchState(uint8_t oldState, bool grouped, uint32_t flags);

// A number after the limits its flags apply: first the minimum, then the maximum.
int32_t ClampNumber(int32_t value, int32_t minimum, int32_t maximum, uint32_t flags);
// value + delta without wrapping past the 32-bit range.
int32_t StepNumber(int32_t value, int delta);

// The parts of a picker's date and time that the flags ask for; the day always comes from the
// date picker, the weekday never does.
void TakeDatePicker(ksv::PackedDateTime& value, int year, int month, int day, uint32_t flags);
void TakeTimePicker(ksv::PackedDateTime& value, int hour, int minute, int second, uint32_t flags);
// The weekday list's selection for a value: its weekday byte, or -1 past Saturday.
int WeekdaySelection(const ksv::PackedDateTime& value);

// Blob and File: the data is to be opened with the desktop's URL handler.
bool OpensInBrowser(uint32_t flags);

// The first `count` NUL-terminated texts of a list's items; a last text without its NUL ends
// with the buffer, and a count beyond the texts sent gives only the texts sent.
std::vector<std::u16string> SplitListItems(const std::u16string& items, uint32_t count);

// A blob's bytes read as UTF-16 (host order) up to the first NUL or its length.
std::u16string BlobText(const std::vector<uint8_t>& data, uint32_t length);

#pragma once

#include <cstdint>

namespace ksv {

// The flags word of a control record: the one home of its bits, shared by the link, the
// controls, the charts and the demo device.

// Bits every kind shares.
inline constexpr uint32_t kFlagHidden = 0x00000001; // never shown; a MessageBox: already put up
inline constexpr uint32_t kFlagWide = 0x00000004;   // 16-bit texts on the wire; sizes count bytes
inline constexpr uint32_t kFlagNewRow = 0x00000008;
inline constexpr uint32_t kFlagTurnToPage = 0x00000010; // an update turns the view to its page
inline constexpr uint32_t kFlagDisabled = 0x00000080;
// Editable (Text, Number, DateTime), tappable (Image), text content (Blob); a Latch that every
// tap turns off; a logged-in Password that opens the password dialog.
inline constexpr uint32_t kFlagEditable = 0x00010000;
inline constexpr uint32_t kFlagBit16 = kFlagEditable; // the decoders' name for the same bit

// Text.
inline constexpr uint32_t kFlagPasswordEntry = 0x00020000;

// Number.
inline constexpr uint32_t kFlagMinApplies = 0x00020000;
inline constexpr uint32_t kFlagMaxApplies = 0x00040000;
inline constexpr uint32_t kFlagNotationMask = 0x00300000;
inline constexpr uint32_t kFlagNotationFixed = 0x00100000;
inline constexpr uint32_t kFlagNotationExponent = 0x00200000;
inline constexpr uint32_t kFlagNotationGeneral = 0x00300000;

// DateTime: the parts the value has.
inline constexpr uint32_t kFlagSeconds = 0x00020000;
inline constexpr uint32_t kFlagMinutes = 0x00040000;
inline constexpr uint32_t kFlagHours = 0x00080000;
inline constexpr uint32_t kFlagWeekday = 0x00100000;
inline constexpr uint32_t kFlagDay = 0x00200000;
inline constexpr uint32_t kFlagMonth = 0x00400000;
inline constexpr uint32_t kFlagYear = 0x00800000;
inline constexpr uint32_t kFlagDateParts = kFlagDay | kFlagMonth | kFlagYear;
inline constexpr uint32_t kFlagTimeParts = kFlagSeconds | kFlagMinutes | kFlagHours;

// MessageBox: icon and buttons.
inline constexpr uint32_t kFlagIconMask = 0x00070000;
inline constexpr uint32_t kFlagIconExclamation = 0x00030000;
inline constexpr uint32_t kFlagIconQuestion = 0x00040000;
inline constexpr uint32_t kFlagIconInformation = 0x00050000;
inline constexpr uint32_t kFlagButtonsMask = 0x00700000;
inline constexpr uint32_t kFlagButtonsOkSilent = 0x00000000; // its answer is not reported
inline constexpr uint32_t kFlagButtonsOk = 0x00100000;
inline constexpr uint32_t kFlagButtonsOkCancel = 0x00200000;
inline constexpr uint32_t kFlagButtonsRetryCancel = 0x00300000;
inline constexpr uint32_t kFlagButtonsYesNo = 0x00400000;
inline constexpr uint32_t kFlagButtonsYesNoCancel = 0x00500000;
inline constexpr uint32_t kFlagButtonsAbortRetryIgnore = 0x00600000;
inline constexpr uint32_t kFlagButtonsOkToo = 0x00700000;

// Blob and File: what to do with the data, bits 20..31.
inline constexpr uint32_t kFlagActionMask = 0xFFF00000;
inline constexpr uint32_t kFlagActionOpenInBrowser = 0x00100000;

// Matrix (chart/table).
inline constexpr uint32_t kFlagLabelTypeMask = 0x00030000; // the X kind: none, number, text, date
inline constexpr uint32_t kFlagLabelsText = 0x00020000;
inline constexpr uint32_t kFlagCellWidthMask = 0x00300000;
inline constexpr uint32_t kFlagYFixedNotation = 0x01000000;

// What a style update may change, beside the colour (whose presence bit travels with it).
inline constexpr uint32_t kStyleHasColour = 0x00000040;

} // namespace ksv

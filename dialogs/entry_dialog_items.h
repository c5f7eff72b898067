#pragma once

#include "dialogs/dialog_units.h"

#include <QFont>
#include <QString>

class QDialog;
class QLabel;
class QPushButton;

// The items the full-screen entry dialogs share: the screen-sized template, the large bold
// font every item gets, the value shown at the top, and the 36 x 23 unit buttons.

inline constexpr int kEntryDialogWidth = 138; // dialog units
inline constexpr int kEntryDialogHeight = 151;
inline constexpr int kEntryCloseId = 1058;

// Arial 20 pixels bold, or the metric-compatible sans serif where Arial is missing.
QFont EntryItemFont();

// The dialog's units, scaled down when the template would be wider than the view that opens
// it (its parent), so the whole dialog fits the view whatever the font and zoom.
DialogUnits EntryDialogUnits(const QDialog& dialog);

// Sizes the dialog to the whole template and leaves it without caption text.
void MakeFullScreen(QDialog& dialog, const DialogUnits& du);

// The static at the top that shows the value, centred; its template text is "Date Time".
QLabel* AddValueStatic(QDialog& dialog, const DialogUnits& du, int itemId, const QFont& font);

// Shows `text` in the value static, in `font` or, for a text too wide for it, as large a size
// of it as fits, so the whole value stays readable.
void ShowFitted(QLabel& value, const QString& text, const QFont& font);

// A button of the keypad grid at (x, y) in dialog units.
QPushButton* AddEntryButton(QDialog& dialog, const DialogUnits& du, int itemId,
                            const QString& caption, int x, int y, const QFont& font);

// "Close", the default button: ends the dialog with OK.
QPushButton* AddEntryCloseButton(QDialog& dialog, const DialogUnits& du, const QFont& font);

#pragma once

#include <QString>
#include <functional>
#include <optional>

class QLineEdit;

// Reading a whole number typed into a dialog's edit box, as the dialogs' field exchange does.
struct IntFieldResult {
    std::optional<int> value; // unset when the text is refused
    QString message;          // the standard message for a refused text
};

// Accepts surrounding blanks and a sign; refuses anything else that is not a decimal integer,
// and integers outside [minimum, maximum].
IntFieldResult ReadIntField(const QString& text, int minimum, int maximum);

// Field exchange of one edit on OK: stores the number in target, or shows the message, puts the
// focus back on the edit with its text selected and returns false.
bool ExchangeIntField(QLineEdit* edit, int minimum, int maximum, int& target,
                      const std::function<void(const QString&)>& showMessage);

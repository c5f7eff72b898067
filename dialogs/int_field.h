#pragma once

#include <QString>
#include <optional>

// Reading a whole number typed into a dialog's edit box, as the dialogs' field exchange does.
struct IntFieldResult {
    std::optional<int> value; // unset when the text is refused
    QString message;          // the standard message for a refused text
};

// Accepts surrounding blanks and a sign; refuses anything else that is not a decimal integer,
// and integers outside [minimum, maximum].
IntFieldResult ReadIntField(const QString& text, int minimum, int maximum);

#pragma once

#include <QFont>
#include <QSize>
#include <QString>

namespace ksv::qt {

// A label's text as it can be shown in `room`: the text itself when a word-wrapped label shows
// it whole, else as many lines as fit, broken anywhere if need be, the last ending in "…".
QString FitWrappedText(const QString& text, const QFont& font, QSize room);

// A caption on one line, elided at the right to the width.
QString FitLine(const QString& text, const QFont& font, int width);

} // namespace ksv::qt

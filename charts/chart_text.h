#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>

class QPainter;

namespace ksv {

// The chart's two fonts: the system's sans-serif face in a 16-pixel cell, normal weight for
// labels, bold for titles and legend names.
QFont ChartLabelFont();
QFont ChartTitleFont();

// Width and height of a single line of text, unturned.
QSize MeasureChartText(const QFont& font, const QString& text);

// Opaque text on white in the box at `at`, cut to `size`; a text wider than the box is
// elided with "…".
void DrawTextHorizontal(QPainter& painter, const QFont& font, QPoint at, const QString& text,
                        QSize size, const QColor& colour);
// The same turned 90 degrees clockwise: it reads from top to bottom and covers
// size.height() x size.width() pixels from `at`.
void DrawTextRotated(QPainter& painter, const QFont& font, QPoint at, const QString& text,
                     QSize size, const QColor& colour);

} // namespace ksv

#include "charts/chart_text.h"

#include "charts/chart_geometry.h"
#include "platform/qt/fitted_text.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

namespace ksv {
namespace {

// The largest pixel size whose line (ascent and descent) fits the 16-pixel cell.
QFont CellFont(bool bold) {
    QFont font = QGuiApplication::font();
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    for (int pixels = kChartTextHeight; pixels > 6; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).height() <= kChartTextHeight)
            break;
    }
    return font;
}

} // namespace

QFont ChartLabelFont() {
    static const QFont font = CellFont(false);
    return font;
}

QFont ChartTitleFont() {
    static const QFont font = CellFont(true);
    return font;
}

QSize MeasureChartText(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

void DrawTextHorizontal(QPainter& painter, const QFont& font, QPoint at, const QString& text,
                        QSize size, const QColor& colour) {
    if (size.isEmpty())
        return;
    const QRect box(at, size);
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    painter.fillRect(box, Qt::white);
    painter.setFont(font);
    painter.setPen(colour);
    // A text wider than its box ends in "…" instead of a letter cut in half; one that fits
    // by its measure is drawn whole.
    const bool fits = MeasureChartText(font, text).width() <= size.width();
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     fits ? text : qt::FitLine(text, font, size.width()));
    painter.restore();
}

void DrawTextRotated(QPainter& painter, const QFont& font, QPoint at, const QString& text,
                     QSize size, const QColor& colour) {
    if (size.isEmpty())
        return;
    painter.save();
    // Unturned pixel (px, py) lands on (at.x + height - 1 - py, at.y + px).
    painter.translate(at.x() + size.height(), at.y());
    painter.rotate(90);
    DrawTextHorizontal(painter, font, QPoint(0, 0), text, size, colour);
    painter.restore();
}

} // namespace ksv

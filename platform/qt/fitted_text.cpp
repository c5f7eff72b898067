#include "platform/qt/fitted_text.h"

#include <QFontMetrics>
#include <QStringList>
#include <QTextLayout>

#include <algorithm>

namespace ksv::qt {
namespace {

// Plain text's line breaks, as a label shows them.
QString WithLineSeparators(QString text) {
    return text.replace(QLatin1Char('\n'), QChar::LineSeparator);
}

// Lines of the text laid out at the width; stops after maxLines + 1 lines.
struct Layout {
    int lineCount = 0;
    qreal widest = 0;
};

Layout LayOut(QTextLayout& layout, int width, int maxLines) {
    Layout result;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid() && result.lineCount <= maxLines;
         line = layout.createLine()) {
        line.setLineWidth(width);
        result.widest = std::max(result.widest, line.naturalTextWidth());
        ++result.lineCount;
    }
    layout.endLayout();
    return result;
}

} // namespace

QString FitWrappedText(const QString& text, const QFont& font, QSize room) {
    if (text.isEmpty() || room.width() <= 0) {
        return text;
    }
    const QFontMetrics metrics(font);
    if (!text.contains(QLatin1Char('\n')) && metrics.horizontalAdvance(text) <= room.width()) {
        return text;
    }
    const int maxLines = std::max(1, room.height() / std::max(1, metrics.lineSpacing()));
    const QString laidOut = WithLineSeparators(text);
    QTextLayout wordWrapped(laidOut, font);
    QTextOption wordOption;
    wordOption.setWrapMode(QTextOption::WordWrap);
    wordWrapped.setTextOption(wordOption);
    const Layout words = LayOut(wordWrapped, room.width(), maxLines);
    if (words.lineCount <= maxLines && words.widest <= room.width()) {
        return text;
    }

    QTextLayout anywhere(laidOut, font);
    QTextOption anywhereOption;
    anywhereOption.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    anywhere.setTextOption(anywhereOption);
    QStringList lines;
    anywhere.beginLayout();
    for (QTextLine line = anywhere.createLine(); line.isValid(); line = anywhere.createLine()) {
        line.setLineWidth(room.width());
        if (lines.size() == maxLines - 1) {
            // The rest of the text on the last line that fits.
            const QString rest = text.mid(line.textStart()).simplified();
            lines << metrics.elidedText(rest, Qt::ElideRight, room.width());
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    anywhere.endLayout();
    return lines.join(QLatin1Char('\n'));
}

QString FitLine(const QString& text, const QFont& font, int width) {
    return QFontMetrics(font).elidedText(text, Qt::ElideRight, std::max(0, width));
}

} // namespace ksv::qt

#include "dialogs/dialog_units.h"

#include <QFontMetricsF>
#include <cmath>

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetricsF metrics(font);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = metrics.horizontalAdvance(alphabet) / alphabet.size();
    m_baseY = metrics.height();
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
    return QRect(X(x), Y(y), X(width), Y(height));
}

QSize DialogUnits::Size(int width, int height) const {
    return QSize(X(width), Y(height));
}

void DialogUnits::FitWidth(int units, int pixels) {
    const double wanted = units * m_baseX / 4;
    if (pixels <= 0 || wanted <= pixels) {
        return;
    }
    const double factor = pixels / wanted;
    m_baseX *= factor;
    m_baseY *= factor;
}

int DialogUnits::X(int units) const {
    return static_cast<int>(std::lround(units * m_baseX / 4));
}

int DialogUnits::Y(int units) const {
    return static_cast<int>(std::lround(units * m_baseY / 8));
}

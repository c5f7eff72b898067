#include "controls/ctrl_font.h"

#include <algorithm>

QFont MakeControlFont(int height, bool bold) {
    static const bool substituted = [] {
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        return true;
    }();
    (void)substituted;
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif); // the swiss family where neither face is there
    font.setPixelSize(std::max(1, height));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Dialog-template units for a font: a horizontal unit is a quarter of the font's average
// character width, a vertical unit an eighth of its height, so the templates keep their
// proportions whatever font the desktop uses.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    QRect Rect(int x, int y, int width, int height) const;
    QSize Size(int width, int height) const;

    // Scales the units down, both ways alike, so that `units` across take at most `pixels`.
    void FitWidth(int units, int pixels);

private:
    int X(int units) const;
    int Y(int units) const;

    double m_baseX;
    double m_baseY;
};

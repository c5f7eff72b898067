#include "charts/chart_painter.h"

#include "charts/chart_text.h"

#include <QImage>
#include <QPainter>

namespace ksv {
namespace {

// Square caps: round ones cost ten times as much to stroke and differ only at the very ends.
constexpr int kLinePenWidth = 3;
constexpr int kDotRadius = 3; // a 7-pixel circle

QColor ToColour(uint32_t colourRef) {
    return QColor(colourRef & 0xFF, (colourRef >> 8) & 0xFF, (colourRef >> 16) & 0xFF);
}

QRect ToRect(const PixelRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

// One circle, drawn once and stamped at every centre.
QImage DotSprite(const QColor& colour) {
    const int side = 2 * kDotRadius + 1;
    QImage sprite(side, side, QImage::Format_ARGB32_Premultiplied);
    sprite.fill(Qt::transparent);
    QPainter painter(&sprite);
    painter.setPen(QPen(colour, 0));
    painter.setBrush(colour);
    painter.drawEllipse(QRect(0, 0, side - 1, side - 1));
    return sprite;
}

class ScenePainter {
public:
    explicit ScenePainter(QPainter& painter)
        : m_painter(painter), m_labelFont(ChartLabelFont()), m_titleFont(ChartTitleFont()) {}

    void operator()(const SceneText& item) {
        const QFont& font = item.bold ? m_titleFont : m_labelFont;
        const QString text = QString::fromStdU16String(item.text);
        const QPoint at(item.at.x, item.at.y);
        const QSize size(item.width, item.height);
        if (item.rotated)
            DrawTextRotated(m_painter, font, at, text, size, ToColour(item.colour));
        else
            DrawTextHorizontal(m_painter, font, at, text, size, ToColour(item.colour));
    }

    void operator()(const SceneFill& item) {
        if (!item.rect.IsEmpty())
            m_painter.fillRect(ToRect(item.rect), ToColour(item.colour));
    }

    void operator()(const SceneClip& item) {
        m_painter.setClipRect(ToRect(item.rect), Qt::IntersectClip);
    }

    void operator()(const SceneLines& item) {
        m_painter.setPen(QPen(ToColour(item.colour), kLinePenWidth, Qt::SolidLine, Qt::SquareCap,
                              Qt::MiterJoin));
        for (const Segment& s : item.segments)
            m_painter.drawLine(s.from.x, s.from.y, s.to.x, s.to.y);
    }

    void operator()(const SceneDots& item) {
        const QImage sprite = DotSprite(ToColour(item.colour));
        for (const PixelPoint& c : item.centres)
            m_painter.drawImage(c.x - kDotRadius, c.y - kDotRadius, sprite);
    }

    void operator()(const SceneBars& item) {
        const QColor colour = ToColour(item.colour);
        for (const PixelRect& bar : item.bars)
            m_painter.fillRect(ToRect(bar), colour);
    }

private:
    QPainter& m_painter;
    QFont m_labelFont;
    QFont m_titleFont;
};

} // namespace

void PaintChartScene(QPainter& painter, const ChartScene& scene) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    ScenePainter draw(painter);
    for (const SceneItem& item : scene)
        std::visit(draw, item);
    painter.restore();
}

TextMeasure ChartTextMeasure() {
    return [label = ChartLabelFont(), title = ChartTitleFont()](const std::u16string& text,
                                                                bool bold) {
        return MeasureChartText(bold ? title : label, QString::fromStdU16String(text)).width();
    };
}

} // namespace ksv

#include "platform/qt/panel_style.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>

namespace ksv::qt {
namespace {

constexpr int kBorder = 1;
constexpr int kTextPadding = 1; // between the border and a caption
constexpr int kFocusInset = 3;

QColor Mix(const QColor& from, const QColor& to, int percentOfTo) {
    auto channel = [percentOfTo](int a, int b) { return a + (b - a) * percentOfTo / 100; };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

// The face of a button or a drop-down list: flat fill and border, by state.
void DrawFace(const QStyleOption& option, QPainter& painter) {
    const QColor fill = option.palette.color(QPalette::Active, QPalette::Button);
    const QColor text = option.palette.color(QPalette::Active, QPalette::ButtonText);
    const bool enabled = (option.state & QStyle::State_Enabled) != 0;
    const bool pressed = (option.state & (QStyle::State_Sunken | QStyle::State_On)) != 0;
    const bool hovered = (option.state & QStyle::State_MouseOver) != 0;
    painter.save();
    painter.fillRect(option.rect, enabled && pressed ? Mix(fill, text, 30) : fill);
    QColor edge = Mix(fill, text, enabled ? 45 : 20);
    if (enabled && (hovered || pressed)) {
        edge = text;
    }
    painter.setPen(QPen(edge, kBorder));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(option.rect.adjusted(0, 0, -kBorder, -kBorder));
    painter.restore();
}

// A dotted frame inside the face, in the text colour, which contrasts with the fill.
void DrawFocus(const QStyleOption& option, QPainter& painter) {
    painter.save();
    painter.setPen(
        QPen(option.palette.color(QPalette::Active, QPalette::ButtonText), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(
        option.rect.adjusted(kFocusInset, kFocusInset, -kFocusInset - 1, -kFocusInset - 1));
    painter.restore();
}

void DrawDownArrow(const QRect& area, const QColor& colour, QPainter& painter) {
    const int half = std::max(2, std::min(area.width(), area.height()) / 5);
    const QPoint centre = area.center();
    const QPoint points[] = {centre + QPoint(-half, -half / 2), centre + QPoint(half, -half / 2),
                             centre + QPoint(0, half / 2 + 1)};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(points, 3);
    painter.restore();
}

} // namespace

PanelStyle::PanelStyle() : QProxyStyle(QApplication::style()->name()) {}

void PanelStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const {
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    if (element != CE_PushButton || button == nullptr) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    DrawFace(*button, *painter);
    QStyleOptionButton label = *button;
    label.rect = subElementRect(SE_PushButtonContents, button, widget);
    QProxyStyle::drawControl(CE_PushButtonLabel, &label, painter, widget);
    if ((button->state & State_HasFocus) != 0) {
        DrawFocus(*button, *painter);
    }
}

void PanelStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                    QPainter* painter, const QWidget* widget) const {
    const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
    if (control != CC_ComboBox || combo == nullptr || combo->editable) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    DrawFace(*combo, *painter);
    const QRect arrow = subControlRect(CC_ComboBox, combo, SC_ComboBoxArrow, widget);
    const bool enabled = (combo->state & State_Enabled) != 0;
    DrawDownArrow(
        arrow,
        combo->palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText),
        *painter);
    if ((combo->state & State_HasFocus) != 0) {
        DrawFocus(*combo, *painter);
    }
}

QRect PanelStyle::subElementRect(SubElement element, const QStyleOption* option,
                                 const QWidget* widget) const {
    if (element == SE_PushButtonContents) {
        const int inset = kBorder + kTextPadding;
        return option->rect.adjusted(inset, kBorder, -inset, -kBorder);
    }
    return QProxyStyle::subElementRect(element, option, widget);
}

int PanelStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                            const QWidget* widget) const {
    switch (metric) {
    case PM_ButtonShiftHorizontal:
    case PM_ButtonShiftVertical:
        return 1; // a pressed caption moves with the face
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

PanelStyle* SharedPanelStyle() {
    static QPointer<PanelStyle> style;
    if (style == nullptr) {
        style = new PanelStyle();
        style->setParent(qApp);
    }
    return style;
}

} // namespace ksv::qt

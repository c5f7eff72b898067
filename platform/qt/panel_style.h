#pragma once

#include <QProxyStyle>

namespace ksv::qt {

// The look of a panel's buttons and drop-down lists: the colours the device asked for as a flat
// fill (palette Button) with its text colour (ButtonText), a thin border, a darker fill while
// pressed, faded text while disabled, and a dotted focus frame in the text colour. Everything
// else is the application's own style. PanelButton and PanelDropDown paint with it.
class PanelStyle : public QProxyStyle {
    Q_OBJECT

public:
    PanelStyle();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
    QRect subElementRect(SubElement element, const QStyleOption* option,
                         const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

// The one instance, made on first use and owned by the application object.
PanelStyle* SharedPanelStyle();

} // namespace ksv::qt

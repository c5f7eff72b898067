#include "platform/qt/panel_windows.h"

#include "platform/qt/panel_style.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

namespace ksv::qt {

PanelButton::PanelButton(QWidget* parent) : QPushButton(parent) {
    setFocusPolicy(Qt::TabFocus);
}

QRect PanelButton::CaptionRect() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return SharedPanelStyle()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
}

void PanelButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    SharedPanelStyle()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
}

PanelDropDown::PanelDropDown(QWidget* parent) : QComboBox(parent) {
    setFocusPolicy(Qt::TabFocus);
}

void PanelDropDown::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    PanelStyle* style = SharedPanelStyle();
    style->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, this);
    style->drawControl(QStyle::CE_ComboBoxLabel, &option, &painter, this);
}

} // namespace ksv::qt

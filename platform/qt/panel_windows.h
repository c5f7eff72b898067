#pragma once

#include <QComboBox>
#include <QPushButton>

namespace ksv::qt {

// A panel's push button, painted by PanelStyle; everything else is the application style's.
// Painting through the shared style instead of setting it on each button spares a polish per
// window, which a panel of a thousand controls would feel.
class PanelButton : public QPushButton {
    Q_OBJECT

public:
    explicit PanelButton(QWidget* parent = nullptr);
    // Where the caption goes, inside the border.
    QRect CaptionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A panel's drop-down list, painted by PanelStyle.
class PanelDropDown : public QComboBox {
    Q_OBJECT

public:
    explicit PanelDropDown(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ksv::qt

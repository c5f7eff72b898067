#pragma once

#include <QWidget>

// A translucent cover over the whole view for a panel that is no longer live: the controls
// under it show faded, and it follows the view's size. Windows raised above it stay clear.
class CPanelVeil : public QWidget {
    Q_OBJECT

public:
    explicit CPanelVeil(QWidget* view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

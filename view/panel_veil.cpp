#include "view/panel_veil.h"

#include <QEvent>
#include <QPainter>

namespace {

constexpr int kVeilAlpha = 150; // of 255: the panel stays readable

} // namespace

CPanelVeil::CPanelVeil(QWidget* view) : QWidget(view) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(view->rect());
    view->installEventFilter(this);
    raise();
    show();
}

bool CPanelVeil::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
    }
    return QWidget::eventFilter(watched, event);
}

void CPanelVeil::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QColor veil = palette().color(QPalette::Window);
    veil.setAlpha(kVeilAlpha);
    painter.fillRect(rect(), veil);
}

#include "controls/momentary_button.h"

#include "controls/ctrl.h"

#include <QKeyEvent>
#include <QMouseEvent>

CMomentaryButton::CMomentaryButton(CCtrl* owner, const QString& text, QWidget* parent)
    : QPushButton(text, parent), m_pOwner(owner) {
    setFocusPolicy(Qt::StrongFocus);
}

void CMomentaryButton::Press() {
    if (m_bHeld) {
        return;
    }
    m_bHeld = true;
    if (m_pOwner != nullptr) {
        m_pOwner->OnMomentaryDown();
    }
}

void CMomentaryButton::Release() {
    if (!m_bHeld) {
        return;
    }
    m_bHeld = false;
    if (m_pOwner != nullptr) {
        m_pOwner->OnMomentaryUp();
    }
}

void CMomentaryButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Press();
    }
    QPushButton::mousePressEvent(event);
}

void CMomentaryButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Release();
    }
    QPushButton::mouseReleaseEvent(event);
}

void CMomentaryButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        Press();
    }
    QPushButton::keyPressEvent(event);
}

void CMomentaryButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        Release();
    }
    QPushButton::keyReleaseEvent(event);
}

// A latch held by the space bar must not stay on when the focus moves away mid-press.
void CMomentaryButton::focusOutEvent(QFocusEvent* event) {
    if (!QWidget::mouseGrabber() || QWidget::mouseGrabber() != this) {
        Release();
    }
    QPushButton::focusOutEvent(event);
}

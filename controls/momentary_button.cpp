#include "controls/momentary_button.h"

#include "controls/ctrl.h"

#include <QKeyEvent>
#include <QMouseEvent>

CMomentaryButton::CMomentaryButton(CCtrl* owner, const QString& text, QWidget* parent)
    : PanelButton(parent), m_pOwner(owner) {
    setText(text);
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
    PanelButton::mousePressEvent(event);
}

void CMomentaryButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Release();
    }
    PanelButton::mouseReleaseEvent(event);
}

void CMomentaryButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        Press();
    }
    PanelButton::keyPressEvent(event);
}

void CMomentaryButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        Release();
    }
    PanelButton::keyReleaseEvent(event);
}

// A latch held by the space bar must not stay on when the focus moves away mid-press.
void CMomentaryButton::focusOutEvent(QFocusEvent* event) {
    if (!QWidget::mouseGrabber() || QWidget::mouseGrabber() != this) {
        Release();
    }
    PanelButton::focusOutEvent(event);
}

#pragma once

#include "platform/qt/panel_windows.h"

class CCtrl;

// The push button of a momentary latch: on while held, off when let go. The press reaches the
// owner before the button's own handling, the release likewise; the space bar on a focused
// button does the same. The owner may be null.
class CMomentaryButton : public ksv::qt::PanelButton {
    Q_OBJECT

public:
    CMomentaryButton(CCtrl* owner, const QString& text, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Press();
    void Release();

    CCtrl* m_pOwner;
    bool m_bHeld = false; // a press was reported and its release not yet
};

#include "view/kestrovane_view.h"

#include "resources/resource_ids.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {

constexpr int kImageReleaseMs = 50;
constexpr int kBelowLayoutDarker = 112; // percent

bool Holds(const CtrlRect& r, const QPoint& p) {
    return p.x() >= r.x && p.x() <= r.x + r.w && p.y() >= r.y && p.y() <= r.y + r.h;
}

} // namespace

void CKestrovaneView::OnCommand(int windowId, int notifyCode, QWidget* source) {
    if (notifyCode == ksv::qt::kNotifyClicked) {
        switch (windowId) {
        case IDC_BTN_EXIT:
        case IDC_BTN_CLOSE:
            CloseSession();
            return;
        case IDC_BTN_FIRST:
            OnMenuCommand(ID_PAGE_FIRST);
            return;
        case IDC_BTN_LAST:
            OnMenuCommand(ID_PAGE_LAST);
            return;
        case IDC_BTN_PREV:
            OnMenuCommand(ID_PAGE_PREVIOUS);
            return;
        case IDC_BTN_NEXT:
            OnMenuCommand(ID_PAGE_NEXT);
            return;
        case IDC_BTN_CONNECT:
            ConnectSession(true);
            return;
        case IDC_BTN_CONNECT_INBOUND:
            ConnectSession(false);
            return;
        default:
            break;
        }
    }
    // A panel kept after Goodbye is dead: nothing it shows reaches a device.
    if (m_bConnected == 0) {
        return;
    }
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        if (m_pCtrls[i].OwnsWindow(source)) {
            RouteToControl(m_pCtrls[i], notifyCode, source);
            return;
        }
    }
}

void CKestrovaneView::RouteToControl(CCtrl& ctrl, int notifyCode, QWidget* source) {
    switch (notifyCode) {
    case ksv::qt::kNotifyClicked:
        ctrl.OnClicked(source);
        // An opened or closed section may move to its other placement.
        if (ctrl.m_kind == ControlKind::Section) {
            LayoutPanel(true);
        }
        return;
    case ksv::qt::kNotifyEditChange:
        ctrl.OnEditChange();
        return;
    case ksv::qt::kNotifyEditEnter:
        ctrl.OnEditEnter();
        return;
    case ksv::qt::kNotifySelChange:
        ctrl.OnSelChange(source);
        return;
    case ksv::qt::kNotifyPickerChange:
        ctrl.OnPickerChange(source);
        return;
    case ksv::qt::kNotifyScrolled:
        ctrl.OnSliderMoved();
        return;
    default:
        return;
    }
}

// Below the layout area the window is plain background, set off by a line, so that the page
// bar closes the panel instead of floating in a taller window.
void CKestrovaneView::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    if (height() > kLayoutHeight) {
        const QColor surface = palette().color(QPalette::Window);
        painter.fillRect(0, kLayoutHeight, width(), height() - kLayoutHeight,
                         surface.darker(kBelowLayoutDarker));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(0, kLayoutHeight, width() - 1, kLayoutHeight);
    }
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        if (m_pCtrls[i].IsShown()) {
            m_pCtrls[i].PaintImage(painter);
        }
    }
}

void CKestrovaneView::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && m_bConnected != 0) {
        TapImages(event->position().toPoint());
    }
}

// A tap on the page's background reaches the tappable pictures under it; one on any other
// control of the page does not.
void CKestrovaneView::TapImages(const QPoint& point) {
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        const CCtrl& ctrl = m_pCtrls[i];
        if (ctrl.m_kind != ControlKind::Image && ctrl.m_page == m_iPage &&
            Holds(ctrl.Rect(), point)) {
            return;
        }
    }
    bool tapped = false;
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        CCtrl& ctrl = m_pCtrls[i];
        const bool tappable = ctrl.IsEditable() && (ctrl.m_flags & kFlagDisabled) == 0;
        if (ctrl.m_kind != ControlKind::Image || !ctrl.m_image.m_bImageShown || !tappable ||
            !Holds(ctrl.Rect(), point)) {
            continue;
        }
        ctrl.SetImagePressed(true, false);
        const CtrlRect r = ctrl.Rect();
        repaint(r.x, r.y, r.w, r.h);
        ctrl.SetImagePressed(true, true);
        tapped = true;
    }
    if (tapped) {
        QTimer::singleShot(kImageReleaseMs, this, [this, point]() { ReleaseImages(point); });
    }
}

// Every picture under the point is drawn released again, whatever page it is on.
void CKestrovaneView::ReleaseImages(const QPoint& point) {
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        CCtrl& ctrl = m_pCtrls[i];
        if (ctrl.m_kind != ControlKind::Image || !ctrl.m_image.m_bImagePressed ||
            !Holds(ctrl.Rect(), point)) {
            continue;
        }
        ctrl.SetImagePressed(false, false);
        const CtrlRect r = ctrl.Rect();
        update(r.x, r.y, r.w, r.h);
    }
}

#include "view/kestrovane_view.h"

#include "resources/resource_ids.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QResizeEvent>

CKestrovaneView* g_pView = nullptr;

CKestrovaneView::CKestrovaneView(ksv::Link& link, ksv::SettingsStore& settings,
                                 ksv::ErrorReporter& reporter, const QString& appTitle,
                                 QWidget* parent)
    : QWidget(parent), m_link(link), m_settings(settings), m_reporter(reporter),
      m_appTitle(appTitle), m_services{&link, &reporter, this, &m_pictureBudget},
      m_reconnect(this,
                  {[this] { return OpenSession(m_lastPort); }, [this] { EndSession(false); }}) {
    resize(kReferenceWidth, kLayoutHeight);
    setMinimumSize(kReferenceWidth, kLayoutHeight);
    setAutoFillBackground(true);
    QObject::connect(&m_pingTimer, &QTimer::timeout, this, [this]() { OnTimer(); });

    // Not blocking: a nested event loop could return into a control destroyed meanwhile.
    m_messageBoxHook = [this](const QString& text, bool stop) {
        auto* box = new QMessageBox(stop ? QMessageBox::Critical : QMessageBox::Information,
                                    m_appTitle, text, QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    };
    m_urlHook = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    m_comPortDialogHook = [this](ComPortValues& values) {
        CComPortDlg dialog(values, m_link.Paths().portsFolder, this);
        if (dialog.exec() != QDialog::Accepted) {
            return false;
        }
        values = dialog.Values();
        return true;
    };
    m_pingDialogHook = [this](PingValues& values) {
        CPingDlg dialog(values, this);
        if (dialog.exec() != QDialog::Accepted) {
            return false;
        }
        values = dialog.Values();
        return true;
    };
}

CKestrovaneView::~CKestrovaneView() {
    // Their results reach the controls, which go before the child windows do.
    CloseLayoutDialogs();
    m_pingTimer.stop();
    // A receive run still going would post to a destroyed view: end it first.
    if (m_link.IsPortOpen()) {
        m_link.ClosePort();
    }
    QCoreApplication::removePostedEvents(this);
    if (g_pView == this) {
        g_pView = nullptr;
    }
}

void CKestrovaneView::SetMessageBoxHook(MessageBoxHook hook) {
    m_messageBoxHook = std::move(hook);
}

void CKestrovaneView::SetUrlHook(UrlHook hook) {
    m_urlHook = std::move(hook);
}

void CKestrovaneView::SetComPortDialogHook(ComPortDialogHook hook) {
    m_comPortDialogHook = std::move(hook);
}

void CKestrovaneView::SetPingDialogHook(PingDialogHook hook) {
    m_pingDialogHook = std::move(hook);
}

const CCtrl* CKestrovaneView::Control(uint32_t index) const {
    return index < m_nCtrls ? &m_pCtrls[index] : nullptr;
}

const CCtrl* CKestrovaneView::ViewButton(int windowId) const {
    for (const CCtrl* button : {&m_btnFirst, &m_btnLast, &m_btnExit, &m_btnClose, &m_btnNext,
                                &m_btnPrev, &m_btnConnect, &m_btnConnectInbound}) {
        if (static_cast<int>(button->m_windowId) == windowId) {
            return button;
        }
    }
    return nullptr;
}

void CKestrovaneView::OnInitialUpdate() {
    g_pView = this;
    CreateViewButtons();
    LoadViewSettings();
    LoadReconnectSetting();
    m_bLayoutAllowed = 1;
    m_bPingsAllowed = 1;
    if (m_iComIncoming == 0 || m_iComOutGoing == 0) {
        OnComPorts();
    }
    m_nCtrls = 0;
    m_bConnected = 0;
    m_pCtrls.reset();
    ClearPanel();
}

void CKestrovaneView::PostArrival() {
    QCoreApplication::postEvent(this, new QEvent(static_cast<QEvent::Type>(WM_PANEL_ARRIVAL)));
}

void CKestrovaneView::PostLinkLost(ksv::ResultCode) {
    QCoreApplication::postEvent(this, new QEvent(static_cast<QEvent::Type>(WM_LINK_LOST)));
}

void CKestrovaneView::PostAnswer(int32_t code, uint32_t controlId) {
    {
        std::lock_guard<std::mutex> lock(m_answerLock);
        m_pendingAnswer = {code, controlId};
    }
    QCoreApplication::postEvent(this, new QEvent(static_cast<QEvent::Type>(WM_PANEL_ANSWER)));
}

bool CKestrovaneView::event(QEvent* event) {
    if (event->type() == static_cast<QEvent::Type>(WM_PANEL_ARRIVAL)) {
        OnArrival();
        return true;
    }
    if (event->type() == QEvent::Timer &&
        static_cast<QTimerEvent*>(event)->timerId() == m_arrivalTimer.timerId()) {
        m_arrivalTimer.stop();
        OnArrival();
        return true;
    }
    if (event->type() == static_cast<QEvent::Type>(WM_PANEL_ANSWER)) {
        OnPanelAnswer();
        return true;
    }
    if (event->type() == static_cast<QEvent::Type>(WM_LINK_LOST)) {
        OnLinkLost();
        return true;
    }
    return QWidget::event(event);
}

void CKestrovaneView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A wider view fits more controls per row; the layout height stays fixed.
    if (m_buttonsCreated && event->size().width() != event->oldSize().width()) {
        LayoutPanel(true);
    }
}

bool CKestrovaneView::IsCommandEnabled(int commandId) const {
    const bool connected = m_bConnected != 0;
    switch (commandId) {
    case ID_PAGE_PREVIOUS:
    case ID_PAGE_FIRST:
        return connected && m_iPage >= 1;
    case ID_PAGE_NEXT:
    case ID_PAGE_LAST:
        return connected && m_iPage < m_iLastPage;
    case ID_CLOSE:
    case ID_ALWAYS_RELOAD_LAYOUT:
    case ID_COM_PORTS:
    case ID_RECONNECT_AUTOMATICALLY:
        return true;
    case ID_LOAD_RECOMMENDED_LAYOUT:
        return connected;
    case ID_LAYOUT_CONTROLS:
    case ID_DEFAULT_LAYOUT:
        return connected && m_bLayoutAllowed != 0 && m_nCtrls != 0;
    case ID_PINGS:
        return m_bPingsAllowed != 0 && connected && m_nCtrls != 0;
    default:
        return false;
    }
}

bool CKestrovaneView::IsCommandChecked(int commandId) const {
    return (commandId == ID_ALWAYS_RELOAD_LAYOUT && m_AlwaysReload != 0) ||
           (commandId == ID_RECONNECT_AUTOMATICALLY && m_AutoReconnect != 0);
}

void CKestrovaneView::OnMenuCommand(int commandId) {
    // Close decides itself what it stops.
    if (commandId != ID_CLOSE) {
        StopReconnecting();
    }
    switch (commandId) {
    case ID_PAGE_FIRST:
        GoToPage(0);
        break;
    case ID_PAGE_LAST:
        GoToPage(m_iLastPage);
        break;
    case ID_PAGE_NEXT:
        GoToPage(m_iPage + 1);
        break;
    case ID_PAGE_PREVIOUS:
        GoToPage(m_iPage - 1);
        break;
    case ID_CLOSE:
        CloseSession();
        break;
    case ID_LOAD_RECOMMENDED_LAYOUT:
        LoadRecommendedLayout();
        break;
    case ID_ALWAYS_RELOAD_LAYOUT:
        OnAlwaysReload();
        break;
    case ID_LAYOUT_CONTROLS:
        if (IsCommandEnabled(commandId)) {
            OnLayoutControls();
        }
        break;
    case ID_DEFAULT_LAYOUT:
        if (IsCommandEnabled(commandId)) {
            OnDefaultLayout();
        }
        break;
    case ID_PINGS:
        OnPings();
        break;
    case ID_COM_PORTS:
        OnComPorts();
        break;
    case ID_RECONNECT_AUTOMATICALLY:
        OnReconnectAutomatically();
        break;
    default:
        break;
    }
}

void CKestrovaneView::ShowUserMessage(const QString& text, ksv::ReportReason reason, bool stop) {
    if (m_messageBoxHook) {
        m_messageBoxHook(
            QString::fromStdU16String(ksv::ExplainedText(text.toStdU16String(), reason)), stop);
    }
}

// A control's message is a plain sentence already.
void CKestrovaneView::ShowUserMessage(const QString& text) {
    if (m_messageBoxHook) {
        m_messageBoxHook(text, false);
    }
}

void CKestrovaneView::OpenUrl(const QUrl& url) {
    if (m_urlHook) {
        m_urlHook(url);
    }
}

void CKestrovaneView::MessageBoxesClosed() {
    BringToFront();
}

void CKestrovaneView::SetAppTitle() {
    emit TitleChanged(m_appTitle);
}

void CKestrovaneView::BringToFront() {
    QWidget* frame = window();
    // Platforms without a window stack (offscreen) have nothing to raise.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        frame->raise();
    }
    frame->activateWindow();
}

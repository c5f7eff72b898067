#pragma once

#include "controls/ctrl.h"
#include "dialogs/com_port_dialog.h"
#include "dialogs/ping_dialog.h"
#include "link/link.h"
#include "link/panel_budget.h"
#include "platform/error_reporter.h"
#include "platform/layout/panel_layout.h"
#include "platform/qt/child_window.h"
#include "platform/settings_store.h"
#include "view/auto_reconnect.h"
#include "view/panel_veil.h"

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

// The one panel view: sessions, arrivals, the panel's controls and its pages.
//
// Thread contract: every member runs on the GUI thread except PostArrival and PostLinkLost,
// which the receive thread calls, and PostAnswer, which may be called from any thread; they
// only post to the view and return.
class CControlSettingsDlg;

class CKestrovaneView : public QWidget,
                        public ksv::ArrivalSink,
                        public ksv::qt::CommandTarget,
                        public CtrlHost {
    Q_OBJECT

public:
    CKestrovaneView(ksv::Link& link, ksv::SettingsStore& settings, ksv::ErrorReporter& reporter,
                    const QString& appTitle, QWidget* parent = nullptr);
    ~CKestrovaneView() override;

    // Start-up: own buttons, global settings, the port dialog when a port is unset, start screen.
    void OnInitialUpdate();

    // Menu 128 support for the main frame (command ids in resources/resource_ids.h).
    bool IsCommandEnabled(int commandId) const;
    bool IsCommandChecked(int commandId) const;
    void OnMenuCommand(int commandId);

    void PostArrival() override;
    void PostLinkLost(ksv::ResultCode reason) override;
    bool ReceivesAhead() const override { return true; }

    // "Reconnect Automatically": a session the line or a silent device ended is opened again,
    // after waits that the schedule gives. Any command of the user's stops the retries.
    void SetReconnectSchedule(const ksv::ReconnectSchedule& schedule);
    void StopReconnecting();
    // The program ends (window closed, stopped by a signal, restarted at a new zoom): a live
    // session ends as "Close" ends it, but its Goodbye gets a bounded time, so that a stalled
    // device never holds the exit up. Nothing is sent when no port is open.
    void LeaveSession();
    bool IsReconnecting() const { return m_reconnect.IsRetrying(); }
    const QLabel* ReconnectLine() const { return m_reconnect.Line(); }

    // What the controls ask of the view.
    void PostAnswer(int32_t code, uint32_t controlId) override;
    void ResetLatchGroup(uint32_t group) override;
    void MessageBoxesClosed() override;
    void ShowUserMessage(const QString& text) override;
    void OpenUrl(const QUrl& url) override;

    // Clicks and notifications of child windows, by window id.
    void OnCommand(int windowId, int notifyCode, QWidget* source) override;

    // Modal user interaction, replaceable so that nothing blocks where no one looks (tests).
    // A message box with a fixed text; stop = the stop-sign icon, else information.
    using MessageBoxHook = std::function<void(const QString& text, bool stop)>;
    // A settings dialog: edits the values in place and returns true for OK.
    using ComPortDialogHook = std::function<bool(ComPortValues& values)>;
    using PingDialogHook = std::function<bool(PingValues& values)>;
    // The desktop's handler of received files and web addresses.
    using UrlHook = std::function<void(const QUrl& url)>;
    void SetMessageBoxHook(MessageBoxHook hook);
    void SetUrlHook(UrlHook hook);
    void SetComPortDialogHook(ComPortDialogHook hook);
    void SetPingDialogHook(PingDialogHook hook);

    // Read access for the main frame, tools and tests.
    uint32_t ControlCount() const { return m_nCtrls; }
    const CCtrl* Control(uint32_t index) const;
    int CurrentPage() const { return m_iPage; }
    int LastPage() const { return m_iLastPage; }
    bool IsConnected() const { return m_bConnected != 0; }
    bool IsPingOn() const { return m_bPingOn != 0; }
    int PingSeconds() const { return m_iPingSeconds; }
    int ComOutGoing() const { return m_iComOutGoing; }
    int ComIncoming() const { return m_iComIncoming; }
    // Passes over the arrivals waiting at the link: each handles all of them at once.
    uint64_t ArrivalPasses() const { return m_arrivalPasses; }
    // The view's own buttons by window id (14992..14999); null for any other id.
    const CCtrl* ViewButton(int windowId) const;

    // The stored per-device layout. LoadLayout applies it over the automatic layout (as
    // LayoutPanel(true) does); SaveLayout writes the current one in one file write and tells
    // the user when that failed, keeping the layout in use. Nothing happens without a device
    // name.
    void LoadLayout();
    bool SaveLayout();

    // Layout units: the layout height is fixed whatever the window's height.
    static constexpr int kLayoutHeight = 268;
    static constexpr int kReferenceWidth = 240;

signals:
    // The main frame's title: the device name while connected, else the application title.
    void TitleChanged(const QString& title);
    // "Close" on the start screen: the application ends.
    void QuitRequested();

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Session (view_session.cpp).
    void ConnectSession(bool outbound);
    bool OpenSession(int port);
    void TellUnableToConnect(int port);
    void OnLinkLost();
    void CloseSession();
    void ClearPanel();
    void BuildPanel();
    // valueIndex: the index of the first record with the control's id, whose value it shows.
    void BuildControl(const ksv::StoreLock& lock, CCtrl& ctrl, uint32_t index, uint32_t valueIndex,
                      QWidget* parent);
    // The kind's creator with the record's data (windows when the control has a parent).
    void CreateControl(const ksv::StoreLock& lock, CCtrl& ctrl, uint32_t index, uint32_t valueIndex,
                       const ksv::ControlHeader& header);
    // A large panel: windows for the controls of the page shown, freed far from it.
    void UpdatePageWindows();
    void MakeWindows(const ksv::StoreLock& lock, uint32_t index);
    void RequestLayoutIfNeeded();
    void RefreshValues();
    void RefreshStyles();
    void RefreshFiles();
    void StartMessageBoxes();
    void RouteToControl(CCtrl& ctrl, int notifyCode, QWidget* source);
    void TapImages(const QPoint& point);
    void ReleaseImages(const QPoint& point);
    void OnArrival();
    void RunArrivalPass();
    qint64 NextPassAfterMs() const;
    void HandleArrival(int32_t code);
    void OnPanelAnswer();
    void OnTimer();
    void EndSession(bool sendGoodbye);
    void ShowKeptPanel();
    void SetPingTimer(bool enabled, int seconds);
    void LoadViewSettings();
    void SaveViewSettings();
    void OnComPorts();
    void OnPings();
    void LoadRecommendedLayout();
    // A fixed text with its reason's sentence; stop = the stop-sign icon.
    void ShowUserMessage(const QString& text, ksv::ReportReason reason, bool stop);
    void SetAppTitle();
    void BringToFront();
    ksv::DeviceSettings& Device() { return m_link.Settings(); }
    bool HasDeviceName() const;

    // Pages (view_layout.cpp).
    void LayoutPanel(bool applyStoredLayout);
    void LayoutPageBar(int barY);
    void LayoutStartScreen(const QRect& area);
    void ShowPage();
    void GoToPage(int page);
    void LoadVariants();
    ksv::PanelLayout CurrentPanelLayout();
    // The pages stored placements fill, which the automatic flow leaves free.
    std::set<int> StoredLayoutPages();
    void CreateViewButtons();
    CCtrl* PageBarButtons(size_t index);

    // Layout commands and dialogs (view_layout_commands.cpp).
    void OnLayoutControls();
    void ModifyLayoutTargets(const std::vector<int>& targets);
    // A line's target: a control's index, or a page-bar button's pseudo id; null when gone.
    CCtrl* LayoutTarget(int target);
    void CloseLayoutDialogs();
    std::vector<bool> AutoPlaceFlags();
    void RestoreAutoPlaceFlags(const std::vector<bool>& flags);
    void OnAlwaysReload();
    void OnReconnectAutomatically();
    void LoadReconnectSetting();
    void OnDefaultLayout();

    ksv::Link& m_link;
    ksv::SettingsStore& m_settings;
    ksv::ErrorReporter& m_reporter;
    QString m_appTitle;
    CtrlServices m_services;
    ksv::PictureBudget m_pictureBudget; // of the panel shown
    bool m_bToldControlCap = false;     // the user knows the panel is shown in part

    MessageBoxHook m_messageBoxHook;
    ComPortDialogHook m_comPortDialogHook;
    PingDialogHook m_pingDialogHook;
    UrlHook m_urlHook;

    CCtrl m_btnFirst;
    CCtrl m_btnLast;
    CCtrl m_btnExit;
    CCtrl m_btnClose;
    CCtrl m_btnNext;
    CCtrl m_btnPrev;
    CCtrl m_btnConnect;
    CCtrl m_btnConnectInbound;
    std::unique_ptr<CCtrl[]> m_pCtrls;
    uint32_t m_nCtrls = 0;
    bool m_bPageWindows = false; // the panel's windows are made page by page
    int32_t m_AlwaysReload = 1;
    int32_t m_iPage = 0;
    int32_t m_iLastPage = 0;
    int32_t m_iGap = 2;
    int32_t m_iMaxSpread = 5;
    uint8_t m_bJustify = 1;
    uint8_t m_bConnected = 0;
    int32_t m_iComOutGoing = 0;
    int32_t m_iComIncoming = 0;
    int32_t m_bPingOn = 0;
    int32_t m_iPingSeconds = 3;
    uint8_t m_PermitInbound = 0;
    uint8_t m_bLayoutAllowed = 1;
    uint8_t m_bPingsAllowed = 1;
    int32_t m_AutoReconnect = 0;
    int m_lastPort = 0;                           // of the session opened last
    ksv::ResultCode m_openResult = ksv::kSuccess; // of the last OpenPort
    bool m_sessionHeard = false; // the device has sent something since the port was opened

    QTimer m_pingTimer; // timer 1
    // Arrivals are handled at most once per display frame: a post within a frame of the last
    // pass waits for this timer.
    QBasicTimer m_arrivalTimer;
    QElapsedTimer m_sinceArrivalPass;
    uint64_t m_arrivalPasses = 0;
    qint64 m_lastPassNs = 0;
    bool m_inArrivalPass = false;  // a nested event loop must not start another pass
    bool m_arrivalWaiting = false; // a post came during the pass
    QPointer<CControlSettingsDlg> m_pControlSettingsDlg; // the appearance dialog is its child
    // Over a panel kept after Goodbye.
    ksv::qt::OwnedWindow<CPanelVeil> m_keptVeil;
    bool m_buttonsCreated = false;
    CAutoReconnect m_reconnect;

    // The answer a message-box thread left for OnPanelAnswer; a later one replaces it.
    struct PendingAnswer {
        int32_t code = 0;
        uint32_t controlId = 0;
    };
    std::mutex m_answerLock;
    PendingAnswer m_pendingAnswer;
};

// The process-wide pointer to the one view; set by OnInitialUpdate.
extern CKestrovaneView* g_pView;

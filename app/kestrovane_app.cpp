#include "app/kestrovane_app.h"

#include "app/application_title.h"
#include "app/kestrovane_doc.h"
#include "app/main_frame.h"
#include "app/zoom_controller.h"
#include "link/link.h"
#include "platform/qt/gui_error_reporter.h"
#include "platform/qt/message_box_count.h"
#include "platform/qt/qt_settings_store.h"
#include "resources/resource_ids.h"
#include "traffic/frame_ring.h"
#include "traffic/link_monitor_window.h"
#include "traffic/recording_writer.h"
#include "view/kestrovane_view.h"

CKestrovaneApp::CKestrovaneApp(AppEnvironment environment)
    : m_environment(std::move(environment)) {}

CKestrovaneApp::~CKestrovaneApp() {
    ExitInstance();
}

bool CKestrovaneApp::InitInstance() {
    m_title = ApplicationTitle(m_environment.programPath);
    m_settings = std::make_unique<ksv::QtSettingsStore>(m_environment.settingsPath);
    m_reporter = std::make_unique<ksv::GuiErrorReporter>();
    m_reporter->SetBoxTitle(m_title);
    m_frames = std::make_unique<ksv::FrameRing>();
    m_taps = std::make_unique<ksv::TapList>();
    m_taps->Add(m_frames.get());
    if (!m_environment.recordPath.isEmpty()) {
        m_recorder = std::make_unique<ksv::RecordingWriter>();
        if (!m_recorder->Open(m_environment.recordPath.toStdString())) {
            m_startupFailure = QString::fromStdString(m_recorder->Failure());
            return false;
        }
        m_taps->Add(m_recorder.get());
    }
    m_link = std::make_unique<ksv::Link>(*m_settings, *m_reporter, m_environment.linkPaths);
    m_link->SetTap(m_taps.get());
    m_zoom =
        std::make_unique<ksv::ZoomController>(*m_settings, *m_link, m_environment.zoomQuarters);

    m_doc = std::make_unique<CKestrovaneDoc>(*m_link);
    if (!m_doc->OnNewDocument())
        return false;

    m_frame = std::make_unique<CMainFrame>();
    m_frame->setWindowTitle(m_title);
    CreateView();
    m_view->OnInitialUpdate();

    m_frame->show();
    OpenMessageBoxCount() = 0;
    m_frame->setWindowTitle(m_title);
    return true;
}

void CKestrovaneApp::CreateView() {
    m_view = new CKestrovaneView(*m_link, *m_settings, *m_reporter, m_title, m_frame.get());
    m_frame->SetView(m_view);
    ConnectMenu();
    CMainFrame* frame = m_frame.get();
    QObject::connect(m_view, &CKestrovaneView::TitleChanged, frame, &QWidget::setWindowTitle);
    // Quit once the messages already queued have been seen.
    ksv::GuiErrorReporter* reporter = m_reporter.get();
    QObject::connect(m_view, &CKestrovaneView::QuitRequested, frame,
                     [reporter] { reporter->RequestQuit(); });
}

ksv::LinkMonitorWindow* CKestrovaneApp::ShowLinkMonitor() {
    if (!m_monitor) {
        m_monitor = new ksv::LinkMonitorWindow(*m_frames, m_frame.get());
    }
    m_monitor->show();
    m_monitor->raise();
    m_monitor->activateWindow();
    return m_monitor;
}

// The zoom items and the Link Monitor belong to the application; every other item to the view.
void CKestrovaneApp::ConnectMenu() {
    m_zoom->SetView(m_view);
    m_zoom->SetDialog(m_frame.get(), m_title);
    CKestrovaneView* view = m_view;
    ksv::ZoomController* zoom = m_zoom.get();
    m_frame->SetCommandHandlers({
        [view, zoom](int id) {
            if (id == ID_LINK_MONITOR) {
                return true;
            }
            return ksv::IsZoomCommand(id) ? zoom->IsEnabled(id) : view->IsCommandEnabled(id);
        },
        [view](int id) { return view->IsCommandChecked(id); },
        [this, view, zoom](int id) {
            if (id == ID_LINK_MONITOR) {
                ShowLinkMonitor();
                return;
            }
            if (!ksv::IsZoomCommand(id)) {
                view->OnMenuCommand(id);
                return;
            }
            // A command of the user's, like any other item: no more retries.
            view->StopReconnecting();
            zoom->Run(id);
        },
    });
}

QString CKestrovaneApp::RecordingFailure() const {
    return m_recorder ? QString::fromStdString(m_recorder->Failure()) : QString();
}

void CKestrovaneApp::ExitInstance() {
    // However the program ends, a device still connected hears Goodbye.
    if (m_view)
        m_view->LeaveSession();
    if (m_doc)
        m_doc->OnCloseDocument();
    if (m_zoom)
        m_zoom->SetView(nullptr);
    m_view = nullptr;
    m_monitor = nullptr;
    m_frame.reset();
}

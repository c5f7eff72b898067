#pragma once

#include "app/zoom_factor.h"
#include "link/port_path.h"

#include <QString>

#include <memory>

class CKestrovaneDoc;
class CKestrovaneView;
class CMainFrame;

namespace ksv {
class FrameRing;
class GuiErrorReporter;
class LinkMonitorWindow;
class RecordingWriter;
class TapList;
class Link;
class QtSettingsStore;
class ZoomController;
} // namespace ksv

// Where the application keeps its settings and finds its ports and files, and its program file.
struct AppEnvironment {
    QString settingsPath;
    QString programPath;
    ksv::LinkPaths linkPaths;
    int zoomQuarters = ksv::kZoomQuartersActualSize; // the zoom this process runs at
    QString recordPath = QString(); // every byte of the link goes to this recording; empty: none
};

// The application: owns the settings store, the error reporter, the link, the document and the
// main frame (which owns the view). Members are destroyed frame first, link after the document.
//
// Thread contract: GUI thread only; needs a QApplication.
class CKestrovaneApp {
public:
    explicit CKestrovaneApp(AppEnvironment environment);
    ~CKestrovaneApp();
    CKestrovaneApp(const CKestrovaneApp&) = delete;
    CKestrovaneApp& operator=(const CKestrovaneApp&) = delete;

    // Settings store, document (LinkInit), main frame and view with its initial update; then the
    // frame shows, OpenMessageBoxCount is 0 and the frame carries the application title.
    // False when the document could not start the link; nothing is shown then.
    bool InitInstance();
    // Closes the document (LinkTerm: the receive run ends) before the frame and view go.
    void ExitInstance();
    // Why InitInstance failed, when it can say (the recording cannot be created).
    const QString& StartupFailure() const { return m_startupFailure; }
    // What stopped the recording (a full disk); empty while it goes well or without one.
    QString RecordingFailure() const;

    const QString& Title() const { return m_title; }
    CMainFrame* MainFrame() const { return m_frame.get(); }
    CKestrovaneView* View() const { return m_view; }
    ksv::GuiErrorReporter* Reporter() const { return m_reporter.get(); }
    ksv::QtSettingsStore* Settings() const { return m_settings.get(); }
    ksv::Link* GetLink() const { return m_link.get(); }
    CKestrovaneDoc* Document() const { return m_doc.get(); }
    ksv::ZoomController* Zoom() const { return m_zoom.get(); }
    // Every frame of the link since the start, for the Link Monitor.
    ksv::FrameRing* Frames() const { return m_frames.get(); }
    // "Settings > Link Monitor": opens the window, or brings it forward.
    ksv::LinkMonitorWindow* ShowLinkMonitor();

private:
    void CreateView();
    void ConnectMenu();

    AppEnvironment m_environment;
    QString m_title;
    QString m_startupFailure;
    std::unique_ptr<ksv::QtSettingsStore> m_settings;
    std::unique_ptr<ksv::FrameRing> m_frames;
    std::unique_ptr<ksv::RecordingWriter> m_recorder;
    std::unique_ptr<ksv::TapList> m_taps; // before the link, which it outlives
    std::unique_ptr<ksv::GuiErrorReporter> m_reporter;
    std::unique_ptr<ksv::Link> m_link;
    std::unique_ptr<CKestrovaneDoc> m_doc;
    std::unique_ptr<ksv::ZoomController> m_zoom;
    std::unique_ptr<CMainFrame> m_frame;
    CKestrovaneView* m_view = nullptr;           // owned by m_frame
    ksv::LinkMonitorWindow* m_monitor = nullptr; // owned by m_frame, made when first asked for
};

#pragma once

#include "link/link.h"
#include "platform/error_reporter.h"
#include "platform/settings_store.h"

#include <QString>
#include <QWidget>

// The one panel view: sessions, arrivals, the panel's controls and its pages.
//
// Thread contract: every member runs on the GUI thread except PostArrival, which the receive
// thread calls; it only posts WM_PANEL_ARRIVAL to the view and returns.
class CKestrovaneView : public QWidget, public ksv::ArrivalSink {
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

signals:
    // The main frame's title: the device name while connected, else the application title.
    void TitleChanged(const QString& title);
    // "Close" on the start screen: the application ends.
    void QuitRequested();
};

// The process-wide pointer to the one view; set by OnInitialUpdate.
extern CKestrovaneView* g_pView;

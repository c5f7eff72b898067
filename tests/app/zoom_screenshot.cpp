// Starts the application as the program does, at the zoom given with --zoom, on the start
// screen; saves the main window as PNG and prints the start-screen buttons' rectangles in the
// window's layout coordinates: "<window id> <x> <y> <width> <height>", then "scale <factor>".
// Usage: ksv_zoom_screenshot --zoom F SETTINGS_FILE PORTS_FOLDER OUT_PNG

#include "app/argument_vector.h"
#include "app/kestrovane_app.h"
#include "app/main_frame.h"
#include "app/zoom_arguments.h"
#include "app/zoom_startup.h"
#include "controls/ctrl.h"
#include "resources/resource_ids.h"
#include "view/kestrovane_view.h"

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include <cstdio>

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv, argv + argc);
    const ksv::ZoomArgument zoomArgument = ksv::ExtractZoomArgument(arguments);
    if (arguments.size() != 4 || !zoomArgument.quarters) {
        std::fprintf(stderr, "usage: %s --zoom F SETTINGS_FILE PORTS_FOLDER OUT_PNG\n", argv[0]);
        return 2;
    }
    const QString settingsPath = QString::fromStdString(arguments[1]);
    const std::string portsFolder = arguments[2];
    const QString outPath = QString::fromStdString(arguments[3]);
    arguments.resize(1);

    const ksv::ScaleFactorEnvironment scaleFactor;
    const ksv::StartupZoom zoom =
        ksv::PrepareStartupZoom(zoomArgument.quarters, scaleFactor, settingsPath, arguments);
    ksv::ArgumentVector qtArguments(arguments);
    QApplication application(qtArguments.Count(), qtArguments.Values());
    scaleFactor.Restore();

    CKestrovaneApp app({settingsPath,
                        QStringLiteral("kestrovane"),
                        {portsFolder, portsFolder + "/files"},
                        zoom.quarters});
    if (!app.InitInstance())
        return 1;
    CMainFrame* frame = app.MainFrame();
    CKestrovaneView* view = app.View();
    const bool ready = QTest::qWaitForWindowExposed(frame) &&
                       QTest::qWaitFor([&] { return view->size() == QSize(240, 268); }, 5000);
    if (!ready)
        return 1;
    if (!frame->grab().save(outPath))
        return 1;
    for (int id : {IDC_BTN_CONNECT, IDC_BTN_CONNECT_INBOUND, IDC_BTN_EXIT}) {
        const QPushButton* button = view->ViewButton(id)->m_pButton.get();
        if (button == nullptr || !button->isVisible())
            continue;
        const QRect rect(button->mapTo(frame, QPoint(0, 0)), button->size());
        std::printf("%d %d %d %d %d\n", id, rect.x(), rect.y(), rect.width(), rect.height());
    }
    std::printf("scale %g\n", frame->devicePixelRatioF());
    app.ExitInstance();
    return 0;
}

#include "app/kestrovane_app.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/qt/quit_signals.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kestrovane"));

    CKestrovaneApp app({ksv::DefaultSettingsPath(), QCoreApplication::applicationFilePath(),
                        ksv::DefaultLinkPaths()});
    if (!app.InitInstance())
        return 1;
    // Stopped from outside: end as "Close" would, so the document still closes the link.
    ksv::QuitSignals quitSignals([] { QCoreApplication::quit(); });
    const int result = application.exec();
    app.ExitInstance();
    return result;
}

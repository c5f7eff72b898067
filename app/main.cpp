#include "app/kestrovane_app.h"
#include "platform/qt/qt_settings_store.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kestrovane"));

    CKestrovaneApp app({ksv::DefaultSettingsPath(), QCoreApplication::applicationFilePath(),
                        ksv::DefaultLinkPaths()});
    if (!app.InitInstance())
        return 1;
    const int result = application.exec();
    app.ExitInstance();
    return result;
}

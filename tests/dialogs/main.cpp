#include "com_port_dialog_test.h"
#include "entry_dialogs_test.h"
#include "layout_dialogs_test.h"
#include "password_dialog_test.h"
#include "ping_dialog_test.h"

#include <QApplication>
#include <QTest>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    int failures = 0;
    ComPortDialogTest comPorts;
    failures += QTest::qExec(&comPorts, argc, argv);
    PingDialogTest pings;
    failures += QTest::qExec(&pings, argc, argv);
    EntryDialogsTest entryDialogs;
    failures += QTest::qExec(&entryDialogs, argc, argv);
    PasswordDialogTest passwords;
    failures += QTest::qExec(&passwords, argc, argv);
    LayoutDialogsTest layoutDialogs;
    failures += QTest::qExec(&layoutDialogs, argc, argv);
    return failures == 0 ? 0 : 1;
}

#include "com_port_dialog_test.h"

#include "dialog_test_support.h"
#include "dialogs/com_port_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>

#include <unistd.h>

namespace {

using Dialog = Recorded<CComPortDlg>;

QLineEdit* Edit(QDialog& dialog, const char* name) {
    return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
}

QString DeviceLine(QDialog& dialog, const char* name) {
    auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

void Retype(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

} // namespace

void ComPortDialogTest::showsInitialValuesAndTexts() {
    Dialog dialog(ComPortValues{12, 34, true}, "/nonexistent");
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Com Port Settings..."));
    QCOMPARE(Edit(dialog, "inboundEdit")->text(), QStringLiteral("12"));
    QCOMPARE(Edit(dialog, "outboundEdit")->text(), QStringLiteral("34"));
    QCOMPARE(Edit(dialog, "outboundEdit")->property("itemId").toInt(), 1000);
    QCOMPARE(Edit(dialog, "inboundEdit")->property("itemId").toInt(), 1001);
    auto* permit = dialog.findChild<QCheckBox*>(QStringLiteral("permitInbound"));
    QVERIFY(permit->isChecked());
    QCOMPARE(permit->text(), QStringLiteral("Permit inbound connections"));
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("whatToDo"))->text(),
             QStringLiteral("WHAT TO DO:  Find out from the Pocket PC documentation which COM "
                            "port is used as an outbound serial port.  (The most common port is "
                            "8.)  Enter the port number in the top box.  You can leave the "
                            "inbound connections box unchecked. "));
    QStringList statics;
    for (auto* label : dialog.findChildren<QLabel*>()) {
        statics << label->text();
    }
    QVERIFY(statics.contains(QStringLiteral("Inbound Com Port")));
    QVERIFY(statics.contains(QStringLiteral("Outbound Com Port")));
    // Editing the inbound port does not depend on the check box.
    permit->setChecked(false);
    QVERIFY(Edit(dialog, "inboundEdit")->isEnabled());
}

void ComPortDialogTest::defaultsProposeFiveAndEight() {
    Dialog dialog(ComPortValues{}, "/nonexistent");
    QCOMPARE(Edit(dialog, "inboundEdit")->text(), QStringLiteral("5"));
    QCOMPARE(Edit(dialog, "outboundEdit")->text(), QStringLiteral("8"));
    QVERIFY(!dialog.findChild<QCheckBox*>(QStringLiteral("permitInbound"))->isChecked());
}

void ComPortDialogTest::refusedPortKeepsDialogOpen_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString range = QStringLiteral("Please enter an integer between 1 and 1000.");
    const QString integer = QStringLiteral("Please enter an integer.");
    QTest::newRow("inbound 0") << "inboundEdit"
                               << "0" << range;
    QTest::newRow("inbound 1001") << "inboundEdit"
                                  << "1001" << range;
    QTest::newRow("outbound 0") << "outboundEdit"
                                << "0" << range;
    QTest::newRow("outbound 1001") << "outboundEdit"
                                   << "1001" << range;
    QTest::newRow("outbound negative") << "outboundEdit"
                                       << "-8" << range;
    QTest::newRow("outbound huge") << "outboundEdit"
                                   << "99999999999" << range;
    QTest::newRow("outbound empty") << "outboundEdit"
                                    << "" << integer;
    QTest::newRow("outbound text") << "outboundEdit"
                                   << "8a" << integer;
    QTest::newRow("outbound fraction") << "outboundEdit"
                                       << "8.5" << integer;
}

void ComPortDialogTest::refusedPortKeepsDialogOpen() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Dialog dialog(ComPortValues{5, 8, false}, "/nonexistent");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit* edit = Edit(dialog, field.toLatin1().constData());
    Retype(edit, typed);
    dialog.findChild<QCheckBox*>(QStringLiteral("permitInbound"))->setChecked(true);
    PressOk(dialog);

    QCOMPARE(dialog.messages, QStringList{message});
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(edit->hasFocus());
    // Nothing of a refused exchange is taken over, not even the fields read before it.
    QCOMPARE(dialog.Values().inbound, 5);
    QCOMPARE(dialog.Values().outbound, 8);
    QVERIFY(!dialog.Values().permitInbound);
}

void ComPortDialogTest::inboundIsExchangedFirst() {
    Dialog dialog(ComPortValues{5, 8, false}, "/nonexistent");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Retype(Edit(dialog, "outboundEdit"), QStringLiteral("x"));
    Retype(Edit(dialog, "inboundEdit"), QStringLiteral("2000"));
    PressOk(dialog);
    QCOMPARE(dialog.messages,
             QStringList{QStringLiteral("Please enter an integer between 1 and 1000.")});
    QVERIFY(Edit(dialog, "inboundEdit")->hasFocus());
}

void ComPortDialogTest::boundaryPortsAreAccepted() {
    Dialog dialog(ComPortValues{5, 8, false}, "/nonexistent");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Retype(Edit(dialog, "inboundEdit"), QStringLiteral(" 1 "));
    Retype(Edit(dialog, "outboundEdit"), QStringLiteral("1000"));
    QTest::mouseClick(dialog.findChild<QCheckBox*>(QStringLiteral("permitInbound")),
                      Qt::LeftButton);
    PressOk(dialog);
    QVERIFY(dialog.messages.isEmpty());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.Values().inbound, 1);
    QCOMPARE(dialog.Values().outbound, 1000);
    QVERIFY(dialog.Values().permitInbound);
}

void ComPortDialogTest::deviceLinesFollowThePortsFolder() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString device = folder.filePath(QStringLiteral("device"));
    QFile deviceFile(device);
    QVERIFY(deviceFile.open(QIODevice::WriteOnly));
    const QString ports = folder.filePath(QStringLiteral("ports"));
    QVERIFY(QDir().mkpath(ports));
    QVERIFY(QFile::link(device, ports + QStringLiteral("/COM8")));
    QVERIFY(QFile::link(folder.filePath(QStringLiteral("gone")), ports + QStringLiteral("/COM9")));

    Dialog dialog(ComPortValues{9, 8, false}, ports.toStdString());
    const QString arrow = QStringLiteral(" \u2192 ");
    QCOMPARE(DeviceLine(dialog, "outboundDevice"), QStringLiteral("COM8:") + arrow + device);
    QCOMPARE(DeviceLine(dialog, "inboundDevice"), QStringLiteral("COM9:") + arrow +
                                                      folder.filePath(QStringLiteral("gone")) +
                                                      QStringLiteral(" (nothing there)"));

    // Live as the user types: an unregistered number falls back to the serial device.
    QLineEdit* outbound = Edit(dialog, "outboundEdit");
    Retype(outbound, QStringLiteral("700"));
    QCOMPARE(DeviceLine(dialog, "outboundDevice"),
             QStringLiteral("COM700:") + arrow +
                 QStringLiteral("/dev/ttyS699 (no entry, nothing there)"));
    Retype(outbound, QStringLiteral("0"));
    QCOMPARE(DeviceLine(dialog, "outboundDevice"), QStringLiteral("COM?: not a port number"));

    // A TCP device: the entry as it stands, and whether it can be used at all.
    QFile tcpEntry(ports + QStringLiteral("/COM10"));
    QVERIFY(tcpEntry.open(QIODevice::WriteOnly));
    tcpEntry.write("tcp://pump.local:4000\n");
    tcpEntry.close();
    QFile badEntry(ports + QStringLiteral("/COM11"));
    QVERIFY(badEntry.open(QIODevice::WriteOnly));
    badEntry.write("tcp://pump.local:0\n");
    badEntry.close();
    Retype(outbound, QStringLiteral("10"));
    QCOMPARE(DeviceLine(dialog, "outboundDevice"),
             QStringLiteral("COM10:") + arrow + QStringLiteral("tcp://pump.local:4000"));
    Retype(outbound, QStringLiteral("11"));
    QCOMPARE(DeviceLine(dialog, "outboundDevice"), QStringLiteral("COM11:") + arrow +
                                                       QStringLiteral("tcp://pump.local:0") +
                                                       QStringLiteral(" (not a valid address)"));
}

#include "ping_dialog_test.h"

#include "dialog_test_support.h"
#include "dialogs/ping_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

using Dialog = Recorded<CPingDlg>;

QLineEdit* Seconds(QDialog& dialog) {
    return dialog.findChild<QLineEdit*>(QStringLiteral("secondsEdit"));
}

QCheckBox* Enabled(QDialog& dialog) {
    return dialog.findChild<QCheckBox*>(QStringLiteral("pingEnabled"));
}

void ShowAndType(Dialog& dialog, const QString& seconds) {
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Seconds(dialog)->selectAll();
    QTest::keyClick(Seconds(dialog), Qt::Key_Backspace);
    QTest::keyClicks(Seconds(dialog), seconds);
}

} // namespace

void PingDialogTest::showsInitialValuesAndTexts() {
    Dialog dialog(PingValues{true, 42});
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Ping Settings..."));
    QCOMPARE(Seconds(dialog)->text(), QStringLiteral("42"));
    QCOMPARE(Seconds(dialog)->property("itemId").toInt(), 1003);
    QVERIFY(Enabled(dialog)->isChecked());
    QCOMPARE(Enabled(dialog)->text(), QStringLiteral("Confirm presence of remote device"));
    QStringList statics;
    for (auto* label : dialog.findChildren<QLabel*>()) {
        statics << label->text();
    }
    QVERIFY(statics.contains(QStringLiteral("Confirm every")));
    QVERIFY(statics.contains(QStringLiteral("seconds")));
    QVERIFY(statics.contains(QStringLiteral(
        "Changes made on this screen take effect when the program is next started.")));
    // The period stays editable while pinging is off.
    Enabled(dialog)->setChecked(false);
    QVERIFY(Seconds(dialog)->isEnabled());
}

void PingDialogTest::refusedSecondsKeepDialogOpen_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString range = QStringLiteral("Please enter an integer between 1 and 3600.");
    QTest::newRow("zero") << "0" << range;
    QTest::newRow("3601") << "3601" << range;
    QTest::newRow("negative") << "-3" << range;
    QTest::newRow("words") << "three" << QStringLiteral("Please enter an integer.");
}

void PingDialogTest::refusedSecondsKeepDialogOpen() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Dialog dialog(PingValues{false, 3});
    ShowAndType(dialog, typed);
    Enabled(dialog)->setChecked(true);
    PressOk(dialog);
    QCOMPARE(dialog.messages, QStringList{message});
    QVERIFY(dialog.isVisible());
    QVERIFY(Seconds(dialog)->hasFocus());
    QCOMPARE(dialog.Values().seconds, 3);
    QVERIFY(!dialog.Values().enabled);
}

void PingDialogTest::boundarySecondsAreAccepted_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("seconds");
    QTest::newRow("one") << "1" << 1;
    QTest::newRow("hour") << "3600" << 3600;
}

void PingDialogTest::boundarySecondsAreAccepted() {
    QFETCH(QString, typed);
    QFETCH(int, seconds);
    Dialog dialog(PingValues{false, 3});
    ShowAndType(dialog, typed);
    QTest::mouseClick(Enabled(dialog), Qt::LeftButton);
    PressOk(dialog);
    QVERIFY(dialog.messages.isEmpty());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Values().seconds, seconds);
    QVERIFY(dialog.Values().enabled);
}

void PingDialogTest::uncheckingIsTakenOver() {
    Dialog dialog(PingValues{true, 10});
    ShowAndType(dialog, QStringLiteral("20"));
    QTest::mouseClick(Enabled(dialog), Qt::LeftButton);
    PressOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.Values().enabled);
    QCOMPARE(dialog.Values().seconds, 20);
}

#include "password_dialog_test.h"

#include "dialog_test_support.h"
#include "dialogs/dialog_units.h"
#include "dialogs/password_dialog.h"
#include "link/device_encoder.h"
#include "link/frame.h"
#include "link/link.h"
#include "platform/memory_settings_store.h"
#include "tests/support/pty_device.h"
#include "tests/support/recording_sinks.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>

#include <algorithm>

namespace {

constexpr uint32_t kPasswordId = 3;

class RecordedPasswordDlg : public CPasswordDlg {
public:
    using CPasswordDlg::CPasswordDlg;
    QStringList messages;

protected:
    void ShowMessage(const QString& text) override { messages << text; }
};

void Type(QDialog& dialog, int editId, const QString& text) {
    auto* edit = ItemById<QLineEdit>(dialog, editId);
    QVERIFY(edit != nullptr);
    edit->setText(text); // typing 1000 characters key by key would only slow the test
}

std::vector<uint8_t> U32(uint32_t value) {
    std::vector<uint8_t> out;
    ksv::PutU32(out, value);
    return out;
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A narrow 34-byte field up to its NUL.
QString NarrowField(const uint8_t* field) {
    const uint8_t* nul = std::find(field, field + 34, 0);
    return QString::fromLatin1(reinterpret_cast<const char*>(field), int(nul - field));
}

} // namespace

// A link on a pseudo-terminal whose device described one narrow Password control.
struct PasswordDevice {
    ksv::testing::PtyDevice device;
    ksv::MemorySettingsStore settings;
    ksv::testing::ThreadSafeReporter reporter;
    ksv::testing::ArrivalCounter arrivals;
    ksv::Link link{settings, reporter, device.Paths()};

    bool Start() {
        link.LinkInit();
        if (link.OpenPort(device.PortNumber(), &arrivals) != ksv::kSuccess) {
            return false;
        }
        if (device.Read(20) != ksv::testing::HandheldPrefix(ksv::kMsgHello)) {
            return false;
        }
        device.Write(ksv::EncodePanelDescription(
                         {ksv::DeviceControl('P', 0x00010000, kPasswordId).ValueByte(1)})
                         .Frame());
        return arrivals.WaitFor(1);
    }

    // Nothing was sent before this probe.
    bool SentNothing() {
        link.SendHello();
        return device.Read(20) == ksv::testing::HandheldPrefix(ksv::kMsgHello);
    }

    // The two strings of the one password entry of the next Values frame.
    std::optional<std::pair<QString, QString>> ReadPasswordEntry() {
        const std::vector<uint8_t> head =
            Concat(ksv::testing::HandheldPrefix(ksv::kMsgValuesToDevice),
                   Concat(U32(1), Concat(U32(kPasswordId), U32(68))));
        if (device.Read(head.size()) != head) {
            return std::nullopt;
        }
        const auto fields = device.Read(68);
        if (!fields) {
            return std::nullopt;
        }
        return std::make_pair(NarrowField(fields->data()), NarrowField(fields->data() + 34));
    }
};

PasswordDialogTest::PasswordDialogTest() = default;
PasswordDialogTest::~PasswordDialogTest() = default;

void PasswordDialogTest::init() {
    m_device = std::make_unique<PasswordDevice>();
    QVERIFY(m_device->Start());
}

void PasswordDialogTest::cleanup() {
    m_device.reset();
}

void PasswordDialogTest::itemsAndMaskedEdits() {
    CPasswordDlg dialog(m_device->link, kPasswordId, nullptr);
    const DialogUnits du(dialog.font());
    QCOMPARE(dialog.size(), du.Size(138, 151));
    QVERIFY(dialog.windowTitle().isEmpty());
    const struct {
        const char* text;
        QRect where;
    } statics[] = {{"Old password:", du.Rect(5, 4, 128, 8)},
                   {"New password:", du.Rect(5, 36, 128, 8)},
                   {"New password again:", du.Rect(5, 67, 128, 8)}};
    const auto labels = dialog.findChildren<QLabel*>();
    for (const auto& expected : statics) {
        const auto found = std::find_if(labels.begin(), labels.end(), [&](QLabel* label) {
            return label->text() == QLatin1String(expected.text);
        });
        QVERIFY2(found != labels.end(), expected.text);
        QCOMPARE((*found)->geometry(), expected.where);
    }
    const std::pair<int, QRect> edits[] = {{1092, du.Rect(5, 16, 128, 14)},
                                           {1093, du.Rect(5, 48, 128, 14)},
                                           {1094, du.Rect(5, 79, 128, 14)}};
    for (const auto& [id, where] : edits) {
        auto* edit = ItemById<QLineEdit>(dialog, id);
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QCOMPARE(edit->geometry(), where);
    }
    const std::tuple<int, const char*, QRect> buttons[] = {
        {1058, "Close", du.Rect(5, 124, 36, 23)},
        {1091, "Change", du.Rect(51, 124, 36, 23)},
        {1090, "Log Out", du.Rect(97, 124, 36, 23)}};
    for (const auto& [id, caption, where] : buttons) {
        auto* button = ItemById<QPushButton>(dialog, id);
        QVERIFY(button != nullptr);
        QCOMPARE(button->text(), QString::fromLatin1(caption));
        QCOMPARE(button->geometry(), where);
        QVERIFY(QFontMetrics(button->font()).horizontalAdvance(button->text()) < where.width());
    }
}

void PasswordDialogTest::refusedChangesSendNothing_data() {
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("again");
    QTest::addColumn<QString>("message");
    const QString mismatch =
        QStringLiteral("The two versions of the new password are not the same");
    QTest::newRow("one character differs") << "secret1"
                                           << "secret2" << mismatch;
    QTest::newRow("case differs") << "Secret"
                                  << "secret" << mismatch;
    QTest::newRow("both empty") << ""
                                << "" << QStringLiteral("Password is not valid");
}

void PasswordDialogTest::refusedChangesSendNothing() {
    QFETCH(QString, newPassword);
    QFETCH(QString, again);
    QFETCH(QString, message);
    RecordedPasswordDlg dialog(m_device->link, kPasswordId, nullptr);
    dialog.show();
    Type(dialog, 1092, QStringLiteral("old"));
    Type(dialog, 1093, newPassword);
    Type(dialog, 1094, again);
    QSignalSpy finished(&dialog, &QDialog::finished);
    ClickItem(dialog, CPasswordDlg::kChangeId);
    QCOMPARE(dialog.messages, QStringList{message});
    QVERIFY(dialog.isVisible());
    QCOMPARE(finished.count(), 0);
    QCOMPARE(ItemById<QLineEdit>(dialog, 1094)->text(), again);
    QVERIFY(m_device->SentNothing());
}

void PasswordDialogTest::changeSendsOldAndNew_data() {
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("sentOld");
    QTest::addColumn<QString>("sentNew");
    QTest::newRow("plain") << "old"
                           << "new"
                           << "old"
                           << "new";
    QTest::newRow("empty old is the device's to judge") << ""
                                                        << "new"
                                                        << ""
                                                        << "new";
    const QString thousand(1000, QLatin1Char('x'));
    const QString field(33, QLatin1Char('x'));
    QTest::newRow("a thousand characters") << thousand << thousand << field << field;
}

void PasswordDialogTest::changeSendsOldAndNew() {
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, sentOld);
    QFETCH(QString, sentNew);
    RecordedPasswordDlg dialog(m_device->link, kPasswordId, nullptr);
    dialog.show();
    Type(dialog, 1092, oldPassword);
    Type(dialog, 1093, newPassword);
    Type(dialog, 1094, newPassword);
    QSignalSpy finished(&dialog, &QDialog::finished);
    ClickItem(dialog, CPasswordDlg::kChangeId);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Accepted));
    QVERIFY(dialog.messages.isEmpty());
    const auto entry = m_device->ReadPasswordEntry();
    QVERIFY(entry.has_value());
    QCOMPARE(entry->first, sentOld);
    QCOMPARE(entry->second, sentNew);
}

void PasswordDialogTest::logOutSendsEmptyStrings() {
    QWidget parent;
    parent.show();
    auto* dialog = new CPasswordDlg(m_device->link, kPasswordId, &parent);
    dialog->open();
    Type(*dialog, 1092, QStringLiteral("typed but not sent"));
    QSignalSpy finished(dialog, &QDialog::finished);
    ClickItem(*dialog, CPasswordDlg::kLogOutId);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Accepted));
    const auto entry = m_device->ReadPasswordEntry();
    QVERIFY(entry.has_value());
    QCOMPARE(entry->first, QString());
    QCOMPARE(entry->second, QString());
}

void PasswordDialogTest::closeSendsNothing() {
    CPasswordDlg dialog(m_device->link, kPasswordId, nullptr);
    dialog.open();
    Type(dialog, 1093, QStringLiteral("new"));
    Type(dialog, 1094, QStringLiteral("new"));
    QSignalSpy finished(&dialog, &QDialog::finished);
    ClickItem(dialog, CPasswordDlg::kCloseId);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Accepted));
    QVERIFY(m_device->SentNothing());
}

void PasswordDialogTest::closingFromOutsideTakesTheMessageDown() {
    QWidget parent;
    parent.show();
    auto* dialog = new CPasswordDlg(m_device->link, kPasswordId, &parent);
    dialog->open();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    Type(*dialog, 1093, QStringLiteral("a"));
    ClickItem(*dialog, CPasswordDlg::kChangeId);
    QPointer<QMessageBox> message = dialog->findChild<QMessageBox*>();
    QVERIFY(message != nullptr);
    QCOMPARE(message->text(),
             QStringLiteral("The two versions of the new password are not the same"));
    QVERIFY(message->isVisible());
    dialog->reject();
    QVERIFY(!dialog->isVisible());
    QTRY_VERIFY(message.isNull());
    QVERIFY(m_device->SentNothing());
}

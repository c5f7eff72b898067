#include "password_dialog_test.h"

#include "dialog_test_support.h"
#include "dialogs/password_dialog.h"
#include "link/device_encoder.h"
#include "link/frame.h"
#include "link/link.h"
#include "platform/memory_settings_store.h"
#include "tests/support/pty_device.h"
#include "tests/support/recording_sinks.h"

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

// Fills the old, new and repeated edits (1000 characters key by key would only slow the test).
void Fill(QDialog& dialog, const QString& old, const QString& again1, const QString& again2) {
    const std::pair<int, QString> edits[] = {{1092, old}, {1093, again1}, {1094, again2}};
    for (const auto& [id, text] : edits) {
        auto* edit = ItemById<QLineEdit>(dialog, id);
        QVERIFY(edit != nullptr && edit->echoMode() == QLineEdit::Password);
        edit->setText(text);
    }
}

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
        if (link.OpenPort(device.PortNumber(), &arrivals) != ksv::kSuccess ||
            device.Read(20) != ksv::testing::HandheldPrefix(ksv::kMsgHello)) {
            return false;
        }
        const ksv::DeviceControl password =
            ksv::DeviceControl('P', 0x00010000, kPasswordId).ValueByte(1);
        device.Write(ksv::EncodePanelDescription({password}).Frame());
        return arrivals.WaitFor(1);
    }

    // Nothing was sent before this probe.
    bool SentNothing() {
        link.SendHello();
        return device.Read(20) == ksv::testing::HandheldPrefix(ksv::kMsgHello);
    }

    // The two strings of the one password entry of the next Values frame.
    std::optional<std::pair<QString, QString>> ReadPasswordEntry() {
        std::vector<uint8_t> head = ksv::testing::HandheldPrefix(ksv::kMsgValuesToDevice);
        for (uint32_t word : {1u, kPasswordId, 68u}) {
            ksv::PutU32(head, word);
        }
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

void PasswordDialogTest::changeSendsOnlyMatchingNonEmptyPasswords() {
    const QString mismatch =
        QStringLiteral("The two versions of the new password are not the same");
    const QString thousand(1000, QLatin1Char('x'));
    const QString field(33, QLatin1Char('x'));
    const struct {
        QString old, renewed, again, message, sentOld, sentNew;
    } cases[] = {
        {"old", "secret1", "secret2", mismatch, {}, {}},
        {"old", "Secret", "secret", mismatch, {}, {}},
        {"old", "", "", QStringLiteral("Password is not valid"), {}, {}},
        {"old", "new", "new", {}, "old", "new"},
        {"", "new", "new", {}, "", "new"}, // an empty old password is the device's to judge
        {thousand, thousand, thousand, {}, field, field},
    };
    for (const auto& c : cases) {
        RecordedPasswordDlg dialog(m_device->link, kPasswordId, nullptr);
        dialog.show();
        Fill(dialog, c.old, c.renewed, c.again);
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        ClickItem(dialog, CPasswordDlg::kChangeId);
        if (!c.message.isEmpty()) {
            QCOMPARE(dialog.messages, QStringList{c.message});
            QVERIFY(dialog.isVisible() && accepted.isEmpty());
            QCOMPARE(ItemById<QLineEdit>(dialog, 1094)->text(), c.again);
            QVERIFY(m_device->SentNothing());
            continue;
        }
        QCOMPARE(accepted.count(), 1);
        QVERIFY(dialog.messages.isEmpty());
        const auto entry = m_device->ReadPasswordEntry();
        QVERIFY(entry.has_value());
        QCOMPARE(*entry, std::make_pair(c.sentOld, c.sentNew));
    }
}

void PasswordDialogTest::logOutAndCloseEndTheDialog() {
    for (int button : {CPasswordDlg::kLogOutId, CPasswordDlg::kCloseId}) {
        RecordedPasswordDlg dialog(m_device->link, kPasswordId, nullptr);
        dialog.open();
        Fill(dialog, QStringLiteral("old"), QStringLiteral("new"), QStringLiteral("new"));
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        ClickItem(dialog, button);
        QCOMPARE(accepted.count(), 1);
    }
    // Log Out sent both strings empty; Close sent nothing.
    const auto entry = m_device->ReadPasswordEntry();
    QVERIFY(entry.has_value());
    QCOMPARE(*entry, std::make_pair(QString(), QString()));
    QVERIFY(m_device->SentNothing());
}

void PasswordDialogTest::closingFromOutsideTakesTheMessageDown() {
    QWidget parent;
    parent.show();
    auto* dialog = new CPasswordDlg(m_device->link, kPasswordId, &parent);
    dialog->open();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    Fill(*dialog, "", QStringLiteral("a"), "");
    ClickItem(*dialog, CPasswordDlg::kChangeId);
    QPointer<QMessageBox> message = dialog->findChild<QMessageBox*>();
    QVERIFY(message != nullptr && message->isVisible());
    QCOMPARE(message->text(),
             QStringLiteral("The two versions of the new password are not the same"));
    dialog->reject();
    QVERIFY(!dialog->isVisible());
    QTRY_VERIFY(message.isNull());
    QVERIFY(m_device->SentNothing());
}

void PasswordDialogTest::fitsTheViewsWidth() {
    QWidget view;
    view.resize(240, 268);
    RecordedPasswordDlg dialog(m_device->link, kPasswordId, &view);
    QVERIFY(dialog.width() <= 240);
    for (QWidget* item : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QVERIFY(dialog.rect().contains(item->geometry()));
    }
    // Scaled, not cut: "Log Out" still ends 5 units from the right edge.
    const QRect logOut = ItemById(dialog, CPasswordDlg::kLogOutId)->geometry();
    QVERIFY(qAbs(dialog.width() - logOut.right() - 1 - qRound(5 * dialog.width() / 138.0)) <= 1);
}

#include "entry_dialogs_test.h"

#include "dialog_test_support.h"
#include "dialogs/date_time_dialog.h"
#include "dialogs/dialog_units.h"
#include "dialogs/number_dialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QSignalSpy>

namespace {

using ksv::PackedDateTime;

const QString kNumericFormat = QStringLiteral("%dd%/%MM%/%yyyy% %HH%:%mm%:%ss%");
constexpr int kClose = 1058;

class FixedClockDateTimeDlg : public CDateTimeDlg {
public:
    using CDateTimeDlg::CDateTimeDlg;
    PackedDateTime now;

protected:
    PackedDateTime CurrentLocalTime() const override { return now; }
};

QString Shown(QDialog& dialog) {
    return dialog.findChild<QLabel*>()->text();
}

bool IsEnabled(QDialog& dialog, int itemId) {
    return ItemById(dialog, itemId)->isEnabled();
}

void ClickKeys(QDialog& dialog, const QList<int>& ids) {
    for (int id : ids) {
        ClickItem(dialog, id);
    }
}

} // namespace

void EntryDialogsTest::dateTimeButtonsStepAndShow() {
    FixedClockDateTimeDlg dialog(PackedDateTime::Make(2000, 2, 29, 23, 59, 59, 2), kNumericFormat,
                                 0x00EE0000, nullptr); // every field but the weekday
    ClickKeys(dialog, {1062, 1064, 1068, 1065});       // H+, minute M+, S+, D+
    QCOMPARE(Shown(dialog), QStringLiteral("01/02/2000 00:00:00"));
    ClickKeys(dialog, {1069, 1071, 1072}); // D-, month M-, Y-
    QCOMPARE(Shown(dialog), QStringLiteral("29/01/1999 00:00:00"));

    const uint32_t hoursAndMinutes = ksv::kDateTimeHoursBit | ksv::kDateTimeMinutesBit;
    FixedClockDateTimeDlg timeOnly(PackedDateTime::Make(2006, 4, 3, 9, 7, 5, 9), kNumericFormat,
                                   hoursAndMinutes, nullptr);
    QVERIFY(IsEnabled(timeOnly, 1061) && IsEnabled(timeOnly, 1063) && IsEnabled(timeOnly, kClose));
    QVERIFY(!IsEnabled(timeOnly, 1068) && !IsEnabled(timeOnly, 1065) && !IsEnabled(timeOnly, 1073));
    timeOnly.now = PackedDateTime::Make(2024, 12, 25, 18, 45, 30, 3);
    ClickItem(timeOnly, CDateTimeDlg::kNowId);
    QCOMPARE(timeOnly.Value(), PackedDateTime::Make(2006, 4, 3, 18, 45, 5, 9));
    QCOMPARE(Shown(timeOnly), QStringLiteral("03/04/2006 18:45:05"));
}

void EntryDialogsTest::numberKeysShowTheValue() {
    const struct {
        int32_t value;
        const char* templ;
        int8_t exponent;
        QList<int> keys;
        const char* shown;
    } cases[] = {
        {0, "%%", 0, {1089}, "-0"}, // the pending minus shows before the first digit
        {0, "%%", 0, {1089, 1079}, "-5"},
        {0, "Temp %% C", -1, {1076, 1075, 1079}, "Temp 21.5 C"},
        {7, "", 0, {}, "7"},
    };
    for (const auto& c : cases) {
        // Fixed notation with as many decimals as the exponent takes off.
        CNumberDlg dialog({c.value, 0, 0, c.exponent, static_cast<int8_t>(-c.exponent),
                           QString::fromLatin1(c.templ), 0x00100000},
                          nullptr);
        ClickKeys(dialog, c.keys);
        QCOMPARE(Shown(dialog), QString::fromLatin1(c.shown));
    }
    // Limits applied: a minimum of 0 and a maximum of 100.
    CNumberDlg limited({0, 100, 0, 0, 0, QStringLiteral("%%"), 0x00060000}, nullptr);
    QVERIFY(!IsEnabled(limited, CNumberDlg::kSignId) && !IsEnabled(limited, CNumberDlg::kDownId));
    ClickKeys(limited, {1075, 1084, 1084});
    QVERIFY(!IsEnabled(limited, CNumberDlg::kUpId) && IsEnabled(limited, CNumberDlg::kDownId));
    // Scaling a device should not send shows without a fault.
    CNumberDlg wild({123, 0, 0, -128, 127, QStringLiteral("%%"), 0x00300000}, nullptr);
    QVERIFY(!Shown(wild).isEmpty());
}

void EntryDialogsTest::everythingFitsTheScreenSizedDialog() {
    // Values wider than the static show whole in a smaller size.
    CDateTimeDlg dateTime(PackedDateTime::Make(2006, 12, 28, 23, 58, 58, 3),
                          QStringLiteral("%dd%/%MM%/%yyyy% %HH%:%mm%:%ss% %tt%"), 0, nullptr);
    CNumberDlg number({-999999999, 0, 0, 0, 0, QStringLiteral("Pressure %% hPa"), 0}, nullptr);
    for (QDialog* dialog : {static_cast<QDialog*>(&dateTime), static_cast<QDialog*>(&number)}) {
        QCOMPARE(dialog->size(), DialogUnits(dialog->font()).Size(138, 151));
        for (auto* button : dialog->findChildren<QPushButton*>()) {
            const QFontMetrics metrics(button->font());
            QVERIFY(button->font().bold() && button->font().pixelSize() == 20);
            QVERIFY2(metrics.horizontalAdvance(button->text()) + 6 <= button->width() &&
                         metrics.height() <= button->height(),
                     qPrintable(button->text()));
            QVERIFY(dialog->rect().contains(button->geometry()));
        }
        auto* label = dialog->findChild<QLabel*>();
        QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(label->text()));
    }
}

// On the 240-pixel view the template is scaled down whole, each item in proportion; on a wider
// one it keeps its size.
void EntryDialogsTest::theDialogsAreScaledToFitTheView() {
    for (int viewWidth : {240, 600}) {
        QWidget view;
        view.resize(viewWidth, 268);
        CDateTimeDlg dateTime(PackedDateTime::Make(2006, 12, 28, 23, 58, 58, 3), kNumericFormat, 0,
                              &view);
        CNumberDlg number({5, 0, 0, 0, 0, QStringLiteral("%%"), 0}, &view);
        for (QDialog* dialog : {static_cast<QDialog*>(&dateTime), static_cast<QDialog*>(&number)}) {
            const QSize standard = DialogUnits(dialog->font()).Size(138, 151);
            QVERIFY(dialog->width() <= viewWidth);
            QVERIFY(qAbs(dialog->height() * standard.width() -
                         standard.height() * dialog->width()) <= standard.width() * 2);
            QCOMPARE(dialog->size() == standard, standard.width() <= viewWidth);
            const QRect close = ItemById(*dialog, kClose)->geometry();
            QCOMPARE(close.x(), qRound(11 * dialog->width() / 138.0));
            for (auto* button : dialog->findChildren<QPushButton*>()) {
                QVERIFY(dialog->rect().contains(button->geometry()));
                QVERIFY2(QFontMetrics(button->font()).horizontalAdvance(button->text()) + 6 <=
                             button->width(),
                         qPrintable(button->text()));
            }
        }
    }
}

void EntryDialogsTest::openedDialogsFinishOnCloseAndFromOutside() {
    QWidget parent;
    parent.show();
    auto* dateTime = new CDateTimeDlg(PackedDateTime::Make(2006, 4, 3, 9, 7, 5, 2), kNumericFormat,
                                      ksv::kDateTimeHoursBit, &parent);
    QSignalSpy accepted(dateTime, &QDialog::accepted);
    dateTime->open();
    QVERIFY(QTest::qWaitForWindowExposed(dateTime));
    ClickKeys(*dateTime, {1062, kClose});
    QCOMPARE(accepted.count(), 1);
    QCOMPARE(dateTime->Value().Hour(), 10);

    // Closed by the control when the session ends, twice over: never an OK.
    auto* number = new CNumberDlg({3, 0, 0, 0, 0, QStringLiteral("%%"), 0}, &parent);
    QSignalSpy finished(number, &QDialog::finished);
    number->open();
    number->close();
    number->reject();
    QVERIFY(!number->isVisible() && !finished.isEmpty());
    for (const auto& result : finished) {
        QCOMPARE(result.at(0).toInt(), int(QDialog::Rejected));
    }
}

#include "entry_dialogs_test.h"

#include "dialog_test_support.h"
#include "dialogs/date_time_dialog.h"
#include "dialogs/date_time_steps.h"
#include "dialogs/dialog_units.h"
#include "dialogs/number_dialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QSignalSpy>

namespace {

using ksv::PackedDateTime;

const QString kNumericFormat = QStringLiteral("%dd%/%MM%/%yyyy% %HH%:%mm%:%ss%");
constexpr uint32_t kAllFields = 0x00FE0000 & ~ksv::kDateTimeWeekdayBit;
constexpr uint32_t kMinApplies = ksv::kNumberMinimumAppliesBit;
constexpr uint32_t kMaxApplies = ksv::kNumberMaximumAppliesBit;
constexpr uint32_t kFixedNotation = 0x00100000;

// The date/time dialog with a clock the test sets.
class FixedClockDateTimeDlg : public CDateTimeDlg {
public:
    using CDateTimeDlg::CDateTimeDlg;
    PackedDateTime now;

protected:
    PackedDateTime CurrentLocalTime() const override { return now; }
};

QString Shown(QDialog& dialog, int staticId) {
    auto* label = ItemById<QLabel>(dialog, staticId);
    return label != nullptr ? label->text() : QStringLiteral("<no static>");
}

bool IsEnabled(QDialog& dialog, int itemId) {
    auto* item = ItemById(dialog, itemId);
    return item != nullptr && item->isEnabled();
}

NumberEntryParams Number(int32_t value, uint32_t flags = 0, int32_t min = 0, int32_t max = 0) {
    NumberEntryParams params;
    params.value = value;
    params.min = min;
    params.max = max;
    params.templ = QStringLiteral("%%");
    params.flags = flags;
    return params;
}

void ClickKeys(QDialog& dialog, const QList<int>& ids) {
    for (int id : ids) {
        ClickItem(dialog, id);
    }
}

// Every item inside the dialog, each button 36 x 23 units, the static 128 x 13.
void VerifyEntryGeometry(QDialog& dialog) {
    const DialogUnits du(dialog.font());
    QCOMPARE(dialog.size(), du.Size(138, 151));
    QVERIFY(dialog.windowTitle().isEmpty());
    for (auto* button : dialog.findChildren<QPushButton*>()) {
        QCOMPARE(button->size(), du.Size(36, 23));
        QVERIFY(dialog.rect().contains(button->geometry()));
        QCOMPARE(button->font().pixelSize(), 20);
        QVERIFY(button->font().bold());
    }
}

} // namespace

void EntryDialogsTest::dateTimeItemsAndEnabling() {
    const uint32_t flags = ksv::kDateTimeHoursBit | ksv::kDateTimeWeekdayBit;
    CDateTimeDlg dialog(PackedDateTime::Make(2006, 4, 3, 9, 7, 5, 2), kNumericFormat, flags,
                        nullptr);
    VerifyEntryGeometry(dialog);
    const DialogUnits du(dialog.font());
    const struct {
        int id;
        const char* caption;
        int x, y;
        bool enabled;
    } expected[] = {
        {1062, "H+", 11, 22, true},     {1061, "H-", 11, 47, true},   {1065, "D+", 11, 72, true},
        {1069, "D-", 11, 97, true},     {1064, "M+", 51, 22, false},  {1063, "M-", 51, 47, false},
        {1070, "M+", 51, 72, false},    {1071, "M-", 51, 97, false},  {1068, "S+", 91, 22, false},
        {1066, "S-", 91, 47, false},    {1073, "Y+", 91, 72, false},  {1072, "Y-", 91, 97, false},
        {1058, "Close", 11, 122, true}, {1067, "Now", 91, 122, true},
    };
    for (const auto& item : expected) {
        auto* button = ItemById<QPushButton>(dialog, item.id);
        QVERIFY2(button != nullptr, item.caption);
        QCOMPARE(button->text(), QString::fromLatin1(item.caption));
        QCOMPARE(button->pos(), du.Rect(item.x, item.y, 36, 23).topLeft());
        QCOMPARE(button->isEnabled(), item.enabled);
    }
    QCOMPARE(dialog.findChildren<QPushButton*>().size(), 14);
    QVERIFY(ItemById<QPushButton>(dialog, 1058)->isDefault());
    auto* value = ItemById<QLabel>(dialog, CDateTimeDlg::kValueStaticId);
    QCOMPARE(value->geometry(), du.Rect(5, 4, 128, 13));
    QCOMPARE(value->alignment(), Qt::AlignCenter);
    QCOMPARE(value->text(), QStringLiteral("03/04/2006 09:07:05"));
}

void EntryDialogsTest::dateTimeButtonsStepAndShow() {
    CDateTimeDlg dialog(PackedDateTime::Make(2000, 2, 29, 23, 59, 59, 2), kNumericFormat,
                        kAllFields, nullptr);
    ClickKeys(dialog, {1062, 1064, 1068}); // H+, minute M+, S+
    QCOMPARE(Shown(dialog, CDateTimeDlg::kValueStaticId), QStringLiteral("29/02/2000 00:00:00"));
    ClickItem(dialog, 1065); // D+: the month stays
    QCOMPARE(Shown(dialog, CDateTimeDlg::kValueStaticId), QStringLiteral("01/02/2000 00:00:00"));
    ClickKeys(dialog, {1069, 1071, 1072}); // D-, month M-, Y-
    QCOMPARE(Shown(dialog, CDateTimeDlg::kValueStaticId), QStringLiteral("29/01/1999 00:00:00"));
    QCOMPARE(dialog.Value(), PackedDateTime::Make(1999, 1, 29, 0, 0, 0, 2));
}

void EntryDialogsTest::dateTimeNowTakesFlaggedFields() {
    const uint32_t flags = ksv::kDateTimeHoursBit | ksv::kDateTimeMinutesBit;
    FixedClockDateTimeDlg dialog(PackedDateTime::Make(2006, 4, 3, 9, 7, 5, 2), kNumericFormat,
                                 flags, nullptr);
    dialog.now = PackedDateTime::Make(2024, 12, 25, 18, 45, 30, 3);
    ClickItem(dialog, CDateTimeDlg::kNowId);
    QCOMPARE(dialog.Value(), PackedDateTime::Make(2006, 4, 3, 18, 45, 5, 2));
    QCOMPARE(Shown(dialog, CDateTimeDlg::kValueStaticId), QStringLiteral("03/04/2006 18:45:05"));
}

void EntryDialogsTest::dateTimeOutOfRangeValueIsShownSafely() {
    // Month 13, day 0, weekday 9: the tokens of the bad fields render empty.
    const uint32_t flags = kAllFields | ksv::kDateTimeWeekdayBit;
    CDateTimeDlg dialog(PackedDateTime::Make(65535, 13, 0, 9, 7, 5, 9),
                        QStringLiteral("%dd%/%MM%/%yyyy% %ddd%"), flags, nullptr);
    QCOMPARE(dialog.Value().Weekday(), 1);
    ClickKeys(dialog, {1070, 1073}); // month M+ brings month 1; Y+ wraps the year
    QCOMPARE(dialog.Value().Month(), 1);
    QCOMPARE(dialog.Value().Year(), 0);
    ClickItem(dialog, 1065); // D+ steps the weekday
    QCOMPARE(dialog.Value().Weekday(), 2);
    QVERIFY(!Shown(dialog, CDateTimeDlg::kValueStaticId).isEmpty());
}

void EntryDialogsTest::numberItemsAndEnabling() {
    CNumberDlg dialog(Number(0, kMinApplies | kMaxApplies, 0, 100), nullptr);
    VerifyEntryGeometry(dialog);
    const DialogUnits du(dialog.font());
    const struct {
        int id;
        const char* caption;
        int x, y;
    } expected[] = {
        {1075, "1", 11, 22},     {1076, "2", 51, 22},    {1077, "3", 91, 22},
        {1078, "4", 11, 47},     {1079, "5", 51, 47},    {1080, "6", 91, 47},
        {1081, "7", 11, 72},     {1082, "8", 51, 72},    {1083, "9", 91, 72},
        {1084, "0", 51, 97},     {1085, "CE", 11, 97},   {1087, "Up", 91, 97},
        {1088, "Down", 91, 122}, {1089, "+/-", 52, 122}, {1058, "Close", 11, 122},
    };
    for (const auto& item : expected) {
        auto* button = ItemById<QPushButton>(dialog, item.id);
        QVERIFY2(button != nullptr, item.caption);
        QCOMPARE(button->text(), QString::fromLatin1(item.caption));
        QCOMPARE(button->pos(), du.Rect(item.x, item.y, 36, 23).topLeft());
    }
    QCOMPARE(dialog.findChildren<QPushButton*>().size(), 15);
    QCOMPARE(Shown(dialog, CNumberDlg::kValueStaticId), QStringLiteral("0"));
    QVERIFY(!IsEnabled(dialog, CNumberDlg::kSignId));
    QVERIFY(!IsEnabled(dialog, CNumberDlg::kDownId));
    QVERIFY(IsEnabled(dialog, CNumberDlg::kUpId));
    ClickKeys(dialog, {1075, 1084, 1084}); // 100, the maximum
    QVERIFY(!IsEnabled(dialog, CNumberDlg::kUpId));
    QVERIFY(IsEnabled(dialog, CNumberDlg::kDownId));
    ClickItem(dialog, CNumberDlg::kDownId);
    QCOMPARE(dialog.Value(), 99);
    QVERIFY(IsEnabled(dialog, CNumberDlg::kUpId));
}

void EntryDialogsTest::numberKeysShowTheValue_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("templ");
    QTest::addColumn<int>("exponent");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("result");
    const QString bare = QStringLiteral("%%");
    QTest::newRow("first digit replaces")
        << 57 << bare << 0 << QList<int>{1075, 1076, 1077} << "123" << 123;
    QTest::newRow("minus before the first digit")
        << 0 << bare << 0 << QList<int>{1089} << "-0" << 0;
    QTest::newRow("minus taken by the digit")
        << 0 << bare << 0 << QList<int>{1089, 1079} << "-5" << -5;
    QTest::newRow("template and scaling") << 0 << QStringLiteral("Temp %% C") << -1
                                          << QList<int>{1076, 1075, 1079} << "Temp 21.5 C" << 215;
    QTest::newRow("empty template") << 7 << QString() << 0 << QList<int>{} << "7" << 7;
}

void EntryDialogsTest::numberKeysShowTheValue() {
    QFETCH(int, value);
    QFETCH(QString, templ);
    QFETCH(int, exponent);
    QFETCH(QList<int>, keys);
    QFETCH(QString, shown);
    QFETCH(int, result);
    NumberEntryParams params = Number(value, kFixedNotation);
    params.templ = templ;
    params.exponent = static_cast<int8_t>(exponent);
    params.decimals = static_cast<int8_t>(exponent < 0 ? -exponent : 0);
    CNumberDlg dialog(params, nullptr);
    ClickKeys(dialog, keys);
    QCOMPARE(Shown(dialog, CNumberDlg::kValueStaticId), shown);
    QCOMPARE(dialog.Value(), result);
}

void EntryDialogsTest::numberOutOfRangeScalingIsShownSafely() {
    for (int decimals : {-128, 127}) {
        for (int exponent : {-128, 127}) {
            NumberEntryParams params = Number(123, 0x00300000, 50, 10);
            params.flags |= kMinApplies | kMaxApplies;
            params.decimals = static_cast<int8_t>(decimals);
            params.exponent = static_cast<int8_t>(exponent);
            CNumberDlg dialog(params, nullptr);
            ClickKeys(dialog, {1076, 1089, 1087});
            QVERIFY(!Shown(dialog, CNumberDlg::kValueStaticId).isEmpty());
        }
    }
}

void EntryDialogsTest::captionsFitTheirItems() {
    // Every caption, and values longer than the static: they show whole in a smaller size.
    CDateTimeDlg dateTime(PackedDateTime::Make(2006, 12, 28, 23, 58, 58, 3),
                          QStringLiteral("%dd%/%MM%/%yyyy% %HH%:%mm%:%ss% %tt%"), kAllFields,
                          nullptr);
    NumberEntryParams params = Number(-999999999);
    params.templ = QStringLiteral("Pressure %% hPa");
    CNumberDlg number(params, nullptr);
    for (QDialog* dialog : {static_cast<QDialog*>(&dateTime), static_cast<QDialog*>(&number)}) {
        for (auto* button : dialog->findChildren<QPushButton*>()) {
            const QFontMetrics metrics(button->font());
            QVERIFY2(metrics.horizontalAdvance(button->text()) + 6 <= button->width(),
                     qPrintable(button->text()));
            QVERIFY2(metrics.height() <= button->height(), qPrintable(button->text()));
        }
        for (auto* label : dialog->findChildren<QLabel*>()) {
            const QFontMetrics metrics(label->font());
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->text()));
            QVERIFY2(metrics.height() <= label->height(), qPrintable(label->text()));
        }
    }
}

void EntryDialogsTest::openedDialogsFinishAcceptedOnClose() {
    QWidget parent;
    parent.resize(240, 320);
    parent.show();
    auto* dateTime = new CDateTimeDlg(PackedDateTime::Make(2006, 4, 3, 9, 7, 5, 2), kNumericFormat,
                                      kAllFields, &parent);
    QSignalSpy dateTimeFinished(dateTime, &QDialog::finished);
    dateTime->open();
    QVERIFY(QTest::qWaitForWindowExposed(dateTime));
    QVERIFY(dateTime->isModal());
    ClickItem(*dateTime, 1062);
    ClickItem(*dateTime, 1058);
    QCOMPARE(dateTimeFinished.count(), 1);
    QCOMPARE(dateTimeFinished.at(0).at(0).toInt(), int(QDialog::Accepted));
    QCOMPARE(dateTime->Value().Hour(), 10);

    auto* number = new CNumberDlg(Number(57), &parent);
    QSignalSpy numberFinished(number, &QDialog::finished);
    number->open();
    QVERIFY(QTest::qWaitForWindowExposed(number));
    ClickKeys(*number, {1079, 1058});
    QCOMPARE(numberFinished.count(), 1);
    QCOMPARE(numberFinished.at(0).at(0).toInt(), int(QDialog::Accepted));
    QCOMPARE(number->Value(), 5);
}

void EntryDialogsTest::dialogsCanBeClosedFromOutside() {
    QWidget parent;
    parent.show();
    auto* dateTime = new CDateTimeDlg(PackedDateTime{}, kNumericFormat, kAllFields, &parent);
    auto* number = new CNumberDlg(Number(3), &parent);
    QSignalSpy dateTimeFinished(dateTime, &QDialog::finished);
    QSignalSpy numberFinished(number, &QDialog::finished);
    dateTime->open();
    number->open();
    dateTime->reject();
    number->close();
    QCOMPARE(dateTimeFinished.count(), 1);
    QCOMPARE(numberFinished.count(), 1);
    QVERIFY(!dateTime->isVisible());
    QVERIFY(!number->isVisible());
    // A second close never reads as an OK.
    dateTime->reject();
    for (const auto& result : dateTimeFinished) {
        QCOMPARE(result.at(0).toInt(), int(QDialog::Rejected));
    }
    QCOMPARE(number->Value(), 3);
}

#include "layout_dialogs_test.h"

#include "dialog_test_support.h"
#include "dialogs/control_appearance_dialog.h"
#include "dialogs/control_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>

namespace {

using AppearanceDialog = Recorded<CControlAppearanceDlg>;
using Dlg = CControlAppearanceDlg;

const QStringList kLatchNames = {QStringLiteral("Latch"), QStringLiteral("Momentary Latch"),
                                 QStringLiteral("Check Box")};

AppearanceValues FirstTarget() {
    AppearanceValues values;
    values.appearance = 1;
    values.x = 121;
    values.y = 61;
    values.width = 117;
    values.height = 57;
    values.page = 2;
    values.fontHeight = 20;
    return values;
}

void Type(QDialog& dialog, int itemId, const QString& text) {
    auto* edit = ItemById<QLineEdit>(dialog, itemId);
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

void ShowExposed(QDialog& dialog) {
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
}

QListWidget* List(QDialog& dialog) {
    return dialog.findChild<QListWidget*>(QStringLiteral("controlList"));
}

std::vector<ControlListLine> ThreeControls() {
    return {{QStringLiteral("Pump"), 0, std::nullopt},
            {QStringLiteral("Valves"), 2, true},
            {QStringLiteral("[Password]"), 3, false}};
}

} // namespace

void LayoutDialogsTest::refusedFieldKeepsAppearanceDialogOpen_data() {
    QTest::addColumn<int>("itemId");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("width 0") << int(Dlg::kWidthEditId) << "0"
                             << "Please enter an integer between 1 and 240.";
    QTest::newRow("width 241") << int(Dlg::kWidthEditId) << "241"
                               << "Please enter an integer between 1 and 240.";
    QTest::newRow("height 321") << int(Dlg::kHeightEditId) << "321"
                                << "Please enter an integer between 1 and 320.";
    QTest::newRow("font size 301") << int(Dlg::kFontSizeEditId) << "301"
                                   << "Please enter an integer between 1 and 300.";
    QTest::newRow("x not a number") << int(Dlg::kXEditId) << "left"
                                    << "Please enter an integer.";
    QTest::newRow("page past int") << int(Dlg::kPageEditId) << "99999999999"
                                   << "Please enter an integer between -2147483648 and "
                                      "2147483647.";
}

void LayoutDialogsTest::refusedFieldKeepsAppearanceDialogOpen() {
    QFETCH(int, itemId);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    AppearanceDialog dialog(FirstTarget(), kLatchNames);
    ShowExposed(dialog);
    Type(dialog, Dlg::kWidthEditId, QStringLiteral("100"));
    Type(dialog, itemId, typed);
    PressOk(dialog);
    QCOMPARE(dialog.messages, QStringList{message});
    QVERIFY(dialog.isVisible());
    QVERIFY(ItemById<QLineEdit>(dialog, itemId)->hasFocus());
    QCOMPARE(dialog.Values().width, 117);
}

void LayoutDialogsTest::confirmedValuesAreTakenOver() {
    AppearanceDialog dialog(FirstTarget(), kLatchNames);
    auto* list = ItemById<QComboBox>(dialog, Dlg::kAppearanceListId);
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->currentIndex(), 1);
    ShowExposed(dialog);
    list->setCurrentIndex(2);
    Type(dialog, Dlg::kXEditId, QStringLiteral("-5"));
    Type(dialog, Dlg::kYEditId, QStringLiteral(" 150 "));
    Type(dialog, Dlg::kWidthEditId, QStringLiteral("240"));
    Type(dialog, Dlg::kHeightEditId, QStringLiteral("320"));
    Type(dialog, Dlg::kPageEditId, QStringLiteral("-1"));
    Type(dialog, Dlg::kFontSizeEditId, QStringLiteral("300"));
    QTest::mouseClick(ItemById<QCheckBox>(dialog, Dlg::kBoldId), Qt::LeftButton);
    PressOk(dialog);
    QVERIFY(dialog.messages.isEmpty());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const AppearanceValues values = dialog.Values();
    QCOMPARE(values.appearance, 2);
    QCOMPARE(values.x, -5);
    QCOMPARE(values.y, 150);
    QCOMPARE(values.width, 240);
    QCOMPARE(values.height, 320);
    QCOMPARE(values.page, -1);
    QCOMPARE(values.fontHeight, 300);
    QVERIFY(values.bold);

    // An Image offers no appearance: the one it has stays.
    AppearanceValues image = FirstTarget();
    image.appearance = 0;
    AppearanceDialog noChoice(image, {});
    ShowExposed(noChoice);
    PressOk(noChoice);
    QCOMPARE(noChoice.result(), int(QDialog::Accepted));
    QCOMPARE(noChoice.Values().appearance, 0);
}

void LayoutDialogsTest::severalSelectedLeavesAppearancePlaceAndPageAlone() {
    AppearanceValues several = FirstTarget();
    several.severalSelected = true;
    AppearanceDialog dialog(several, kLatchNames);
    QVERIFY(!ItemById<QComboBox>(dialog, Dlg::kAppearanceListId)->isEnabled());
    for (int id : {int(Dlg::kXEditId), int(Dlg::kYEditId), int(Dlg::kPageEditId)}) {
        auto* edit = ItemById<QLineEdit>(dialog, id);
        QVERIFY(!edit->isEnabled());
        bool labelled = false;
        for (auto* label : dialog.findChildren<QLabel*>()) {
            if (label->buddy() == edit) {
                labelled = true;
                QVERIFY(!label->isEnabled());
            }
        }
        QVERIFY(labelled);
    }
    for (int id : {int(Dlg::kWidthEditId), int(Dlg::kHeightEditId), int(Dlg::kFontSizeEditId)}) {
        QVERIFY(ItemById<QLineEdit>(dialog, id)->isEnabled());
    }
    ShowExposed(dialog);
    ItemById<QLineEdit>(dialog, Dlg::kXEditId)->setText(QStringLiteral("nonsense"));
    Type(dialog, Dlg::kWidthEditId, QStringLiteral("100"));
    Type(dialog, Dlg::kFontSizeEditId, QStringLiteral("12"));
    PressOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Values().width, 100);
    QCOMPARE(dialog.Values().fontHeight, 12);
    QCOMPARE(dialog.Values().x, 121);
    QCOMPARE(dialog.Values().page, 2);
    QCOMPARE(dialog.Values().appearance, 1);
}

void LayoutDialogsTest::settingsListShowsStatesAndNavLines() {
    CControlSettingsDlg dialog(ThreeControls(), nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Control Settings..."));
    QListWidget* list = List(dialog);
    QCOMPARE(list->property("itemId").toInt(), 1017);
    QStringList texts;
    QList<int> targets;
    for (int row = 0; row < list->count(); ++row) {
        texts << list->item(row)->text();
        targets << list->item(row)->data(Qt::UserRole).toInt();
    }
    QCOMPARE(texts, (QStringList{"Pump", "Valves (open)", "[Password] (closed)", "Close Nav Button",
                                 "Prev Nav Button", "Next Nav Button", "First Nav Button",
                                 "Last Nav Button"}));
    QCOMPARE(targets, (QList<int>{0, 2, 3, -256, -255, -254, -253, -252}));
    QVERIFY(!ItemById<QPushButton>(dialog, CControlSettingsDlg::kModifyId)->isEnabled());
}

void LayoutDialogsTest::modifyHandsOverSelectedTargetsInListOrder() {
    std::vector<std::vector<int>> handed;
    CControlSettingsDlg dialog(ThreeControls(),
                               [&](const std::vector<int>& targets) { handed.push_back(targets); });
    ShowExposed(dialog);
    QListWidget* list = List(dialog);
    ClickItem(dialog, CControlSettingsDlg::kModifyId); // disabled: nothing happens
    list->item(7)->setSelected(true);
    list->item(1)->setSelected(true);
    QVERIFY(ItemById<QPushButton>(dialog, CControlSettingsDlg::kModifyId)->isEnabled());
    ClickItem(dialog, CControlSettingsDlg::kModifyId);
    list->clearSelection();
    ClickItem(dialog, CControlSettingsDlg::kModifyId); // enabled, but nothing selected
    QCOMPARE(handed, (std::vector<std::vector<int>>{{2, -252}}));
}

void LayoutDialogsTest::endingFromOutsideClosesWhatIsOpenOverIt() {
    QPointer<CControlAppearanceDlg> appearance;
    QDialog* over = nullptr;
    // "Modify..." opens the appearance dialog over the settings dialog, as the view does.
    CControlSettingsDlg settings(ThreeControls(), [&](const std::vector<int>&) {
        appearance = new CControlAppearanceDlg(FirstTarget(), kLatchNames, over);
        appearance->setAttribute(Qt::WA_DeleteOnClose);
        appearance->open();
    });
    over = &settings;
    settings.open();
    QVERIFY(QTest::qWaitForWindowExposed(&settings));
    List(settings)->item(0)->setSelected(true);
    ClickItem(settings, CControlSettingsDlg::kModifyId);
    QVERIFY(appearance);
    QVERIFY(QTest::qWaitForWindowExposed(appearance));
    // A refused field leaves its message up, without blocking.
    Type(*appearance, Dlg::kWidthEditId, QStringLiteral("0"));
    PressOk(*appearance);
    QPointer<QMessageBox> message = appearance->findChild<QMessageBox*>();
    QVERIFY(message);
    QTRY_VERIFY(message->isVisible());

    settings.reject(); // the session ended
    QVERIFY(!settings.isVisible());
    QTRY_VERIFY(appearance.isNull() || !appearance->isVisible());
    QTRY_VERIFY(message.isNull() || !message->isVisible());
}

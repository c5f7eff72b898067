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

// appearance, x, y, width, height, page, font height, bold, several selected
const AppearanceValues kFirstTarget{1, 121, 61, 117, 57, 2, 20, false, false};

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
}

void LayoutDialogsTest::refusedFieldKeepsAppearanceDialogOpen() {
    QFETCH(int, itemId);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    AppearanceDialog dialog(kFirstTarget, kLatchNames);
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
    AppearanceDialog dialog(kFirstTarget, kLatchNames);
    auto* list = ItemById<QComboBox>(dialog, Dlg::kAppearanceListId);
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->currentIndex(), 1);
    ShowExposed(dialog);
    list->setCurrentIndex(2);
    Type(dialog, Dlg::kXEditId, QStringLiteral("-5"));
    Type(dialog, Dlg::kWidthEditId, QStringLiteral("240"));
    Type(dialog, Dlg::kHeightEditId, QStringLiteral("320"));
    Type(dialog, Dlg::kPageEditId, QStringLiteral("-1"));
    Type(dialog, Dlg::kFontSizeEditId, QStringLiteral("300"));
    QTest::mouseClick(ItemById<QCheckBox>(dialog, Dlg::kBoldId), Qt::LeftButton);
    PressOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const AppearanceValues v = dialog.Values();
    QCOMPARE((QList<int>{v.appearance, v.x, v.y, v.width, v.height, v.page, v.fontHeight}),
             (QList<int>{2, -5, 61, 240, 320, -1, 300}));
    QVERIFY(v.bold);

    // An Image offers no appearance: the one it has stays.
    AppearanceDialog noChoice(kFirstTarget, {});
    ShowExposed(noChoice);
    PressOk(noChoice);
    QCOMPARE(noChoice.Values().appearance, 1);
}

void LayoutDialogsTest::severalSelectedLeavesAppearancePlaceAndPageAlone() {
    AppearanceValues several = kFirstTarget;
    several.severalSelected = true;
    AppearanceDialog dialog(several, kLatchNames);
    QStringList disabled;
    for (QWidget* item : dialog.findChildren<QWidget*>()) {
        if (!item->isEnabled() && item->property("itemId").isValid()) {
            disabled << QString::number(item->property("itemId").toInt());
        } else if (auto* label = qobject_cast<QLabel*>(item); label && !label->isEnabled()) {
            disabled << label->text();
        }
    }
    disabled.sort();
    QCOMPARE(disabled,
             (QStringList{"1037", "1038", "1039", "1105", "Page", "X Position", "Y Position"}));
    ShowExposed(dialog);
    ItemById<QLineEdit>(dialog, Dlg::kXEditId)->setText(QStringLiteral("nonsense"));
    Type(dialog, Dlg::kWidthEditId, QStringLiteral("100"));
    Type(dialog, Dlg::kFontSizeEditId, QStringLiteral("12"));
    PressOk(dialog);
    const AppearanceValues v = dialog.Values();
    QCOMPARE((QList<int>{v.appearance, v.x, v.y, v.width, v.height, v.page, v.fontHeight}),
             (QList<int>{1, 121, 61, 100, 57, 2, 12}));
}

void LayoutDialogsTest::modifyHandsOverSelectedTargetsInListOrder() {
    std::vector<std::vector<int>> handed;
    CControlSettingsDlg dialog(ThreeControls(),
                               [&](const std::vector<int>& targets) { handed.push_back(targets); });
    QListWidget* list = List(dialog);
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) {
        texts << list->item(row)->text();
    }
    QCOMPARE(texts, (QStringList{"Pump", "Valves (open)", "[Password] (closed)", "Close Nav Button",
                                 "Prev Nav Button", "Next Nav Button", "First Nav Button",
                                 "Last Nav Button"}));
    ShowExposed(dialog);
    ClickItem(dialog, CControlSettingsDlg::kModifyId); // disabled until a selection
    for (int row : {7, 1, 3, 6, 5, 4}) {
        list->item(row)->setSelected(true);
    }
    ClickItem(dialog, CControlSettingsDlg::kModifyId);
    list->clearSelection();
    ClickItem(dialog, CControlSettingsDlg::kModifyId); // enabled, but nothing selected
    QCOMPARE(handed, (std::vector<std::vector<int>>{{2, -256, -255, -254, -253, -252}}));
}

void LayoutDialogsTest::endingFromOutsideClosesWhatIsOpenOverIt() {
    QPointer<CControlAppearanceDlg> appearance;
    QDialog* over = nullptr;
    // "Modify..." opens the appearance dialog over the settings dialog, as the view does.
    CControlSettingsDlg settings(ThreeControls(), [&](const std::vector<int>&) {
        appearance = new CControlAppearanceDlg(kFirstTarget, kLatchNames, over);
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

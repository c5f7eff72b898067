// What each kind sends when the user operates it, end to end over a pseudo-terminal.

#include "kinds_fixture.h"

#include "charts/matrix_dlg.h"
#include "controls/momentary_button.h"
#include "dialogs/date_time_dialog.h"
#include "dialogs/entry_dialog_items.h"
#include "dialogs/number_dialog.h"
#include "platform/qt/child_window.h"
#include "tests/dialogs/dialog_test_support.h"

namespace {

using ksv::DeviceControl;
using CtrlInput = KindsFixture;

DeviceControl Latch(uint32_t id, uint32_t group, uint8_t state = 0, uint32_t flags = 0) {
    DeviceControl latch('G', flags, id);
    latch.ValueByte(state).U32('r', group).Caption(u"L");
    return latch;
}

DeviceControl Number(uint32_t id, uint32_t flags, int32_t value, int32_t min, int32_t max,
                     uint8_t exponent = 0) {
    DeviceControl number('N', flags | ksv::kFlagEditable, id);
    number.ValueU32(static_cast<uint32_t>(value))
        .U32('n', static_cast<uint32_t>(min))
        .U32('x', static_cast<uint32_t>(max))
        .Byte('m', exponent);
    return number;
}

TEST_F(CtrlInput, LatchesToggleAloneAndClearTheirGroupInTheSameFrame) {
    Connect({Latch(1, 0), Latch(2, 5, 0xFF), Latch(3, 5), Latch(4, 5, 0xFF, ksv::kFlagEditable)});
    Click(Ctrl(1)->m_pButton.get());
    EXPECT_EQ(NextValue(1), std::vector<uint8_t>{0xFF});
    EXPECT_EQ(Ctrl(1)->OnCtlColor(Ctrl(1)->m_pButton.get()).brush, QColor(Qt::black));
    Click(Ctrl(1)->m_pButton.get());
    EXPECT_EQ(NextValue(1), std::vector<uint8_t>{0x00});

    // Tapping latch 3 turns latch 2 off in the same frame; latch 4 (editable bit) is left alone.
    for (int tap = 0; tap < 2; ++tap) {
        Click(Ctrl(3)->m_pButton.get());
        const auto entries = NextValues();
        std::map<uint32_t, std::vector<uint8_t>> sent;
        for (const ValueEntry& entry : entries) {
            sent[entry.id] = entry.bytes;
        }
        EXPECT_EQ(sent[2], std::vector<uint8_t>{0x00});
        EXPECT_EQ(sent[3], std::vector<uint8_t>{0xFF});
        EXPECT_EQ(sent.count(4), 0u);
        EXPECT_EQ(Ctrl(2)->m_state, 0);
    }
    // Latch 4 goes off on every tap; its group is cleared all the same.
    Click(Ctrl(4)->m_pButton.get());
    const auto entries = NextValues();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back().id, 4u);
    EXPECT_EQ(entries.back().bytes, std::vector<uint8_t>{0x00});
}

TEST_F(CtrlInput, AMomentaryLatchIsOnWhileHeldByMouseOrSpaceBar) {
    Connect({Latch(1, 0)}, {{1, 1}});
    QWidget* momentary = Ctrl(1)->m_latch.m_pMomentary.get();
    ASSERT_TRUE(IsVisible(momentary));
    QTest::mousePress(momentary, Qt::LeftButton);
    EXPECT_EQ(NextValue(1), std::vector<uint8_t>{0xFF});
    EXPECT_TRUE(Ctrl(1)->m_latch.m_pCheck->isChecked());
    QTest::mouseRelease(momentary, Qt::LeftButton);
    EXPECT_EQ(NextValue(1), std::vector<uint8_t>{0x00});
    EXPECT_FALSE(Ctrl(1)->m_latch.m_pCheck->isChecked());

    momentary->setFocus();
    QTest::keyPress(momentary, Qt::Key_Space);
    EXPECT_EQ(NextValue(1), std::vector<uint8_t>{0xFF});
    QTest::keyRelease(momentary, Qt::Key_Space);
    EXPECT_EQ(NextValue(1), std::vector<uint8_t>{0x00});
}

TEST_F(CtrlInput, NumbersClampAtTheirLimitsOnlyWhenTheFlagsSaySo) {
    Connect({Number(1, ksv::kFlagMinApplies, 0, 0, 10), Number(2, 0, 0, 0, 10),
             Number(3, 0, 0, 0, 1000, 0xFF).String('f', u"T %% C"),
             Number(4, ksv::kFlagMinApplies | ksv::kFlagMaxApplies, 5, 0, 10)},
            {{1, 2}, {2, 2}, {3, 1}, {4, 2}});
    Click(Ctrl(1)->m_number.m_pMinus.get());
    EXPECT_EQ(NextValue(1), I32(0));
    Click(Ctrl(2)->m_number.m_pMinus.get());
    EXPECT_EQ(NextValue(2), I32(-1));

    // Typed 12.5 with exponent -1 goes out as 125; the edit keeps the bare number.
    QLineEdit* edit = Ctrl(3)->m_pEdit.get();
    edit->clear();
    TypeInto(edit, "12.5");
    EXPECT_TRUE(NothingSent());
    Click(Ctrl(3)->m_number.m_pMinus.get()); // captioned "OK" in this appearance
    EXPECT_EQ(NextValue(3), I32(125));
    EXPECT_EQ(edit->text(), QString("12.5"));
    EXPECT_EQ(Ctrl(3)->m_pValueWnd->text(), QString("T 12.5 C"));
    edit->clear();
    TypeInto(edit, "abc");
    Click(Ctrl(3)->m_number.m_pMinus.get());
    EXPECT_TRUE(NothingSent());

    // A device value past the maximum shows as it came; the next step clamps it.
    Send(ksv::EncodeValues({ksv::U32Entry(4, 50)}));
    ASSERT_TRUE(WaitFor([&] { return Ctrl(4)->m_pValueWnd->text() == "50"; }));
    Click(Ctrl(4)->m_number.m_pPlus.get());
    EXPECT_EQ(NextValue(4), I32(10));
}

TEST_F(CtrlInput, ASliderSendsOnStepsAndOnReleaseButNotWhileDragged) {
    Connect({Number(1, 0, 30, 0, 100)}, {{1, 4}});
    QSlider* slider = Ctrl(1)->m_number.m_pSlider.get();
    ASSERT_TRUE(IsVisible(slider));
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(NextValue(1), I32(31));

    slider->setSliderDown(true);
    slider->setSliderPosition(60);
    slider->setSliderPosition(70);
    EXPECT_TRUE(NothingSent());
    slider->setSliderDown(false);
    EXPECT_EQ(NextValue(1), I32(70));
}

TEST_F(CtrlInput, PlainTextSendsEveryKeystrokeButNeverEchoesTheDevice) {
    Connect({DeviceControl('T', ksv::kFlagEditable, 1).ValueText(u"").U32('m', 20),
             DeviceControl('T', ksv::kFlagEditable, 2).ValueText(u"").U32('m', 20)},
            {{2, 1}});
    // A narrow text goes out in its 20-byte field.
    const auto field = [](const std::string& text) {
        std::vector<uint8_t> bytes(text.begin(), text.end());
        bytes.resize(20, 0);
        return bytes;
    };
    QLineEdit* plain = Ctrl(1)->m_pEdit.get();
    TypeInto(plain, "ab");
    EXPECT_EQ(NextValue(1), field("a"));
    EXPECT_EQ(NextValue(1), field("ab"));
    Send(ksv::EncodeValues({ksv::TextEntry(1, u"dev", false, 20)}));
    ASSERT_TRUE(WaitFor([&] { return plain->text() == "dev"; }));
    EXPECT_TRUE(NothingSent());
    QTest::keyClick(plain, Qt::Key_X);
    EXPECT_EQ(NextValue(1), field("devx"));

    // With OK the text waits for the button.
    TypeInto(Ctrl(2)->m_pEdit.get(), "hi");
    EXPECT_TRUE(NothingSent());
    Click(Ctrl(2)->m_pButton.get());
    EXPECT_EQ(NextValue(2), field("hi"));
}

TEST_F(CtrlInput, EnterInAnEditWithOkDoesWhatOkDoes) {
    using ksv::kFlagEditable;
    Connect({DeviceControl('T', kFlagEditable, 1).ValueText(u"").U32('m', 4),
             DeviceControl('T', kFlagEditable, 2).ValueText(u"").U32('m', 4),
             Number(3, 0, 0, 0, 1000, 0xFF), DeviceControl('P', 0, 4).ValueByte(0)},
            {{2, 1}, {3, 1}});
    TypeInto(Ctrl(2)->m_pEdit.get(), "hi");
    EXPECT_TRUE(NothingSent());
    QTest::keyClick(Ctrl(2)->m_pEdit.get(), Qt::Key_Return);
    EXPECT_EQ(NextValue(2), (std::vector<uint8_t>{'h', 'i', 0, 0}));

    Ctrl(3)->m_pEdit->clear();
    TypeInto(Ctrl(3)->m_pEdit.get(), "12.5");
    QTest::keyClick(Ctrl(3)->m_pEdit.get(), Qt::Key_Enter);
    EXPECT_EQ(NextValue(3), I32(125));

    TypeInto(Ctrl(4)->m_pEdit.get(), "pw");
    QTest::keyClick(Ctrl(4)->m_pEdit.get(), Qt::Key_Return);
    const auto password = NextValue(4);
    ASSERT_EQ(password.size(), 68u);
    EXPECT_EQ(std::string(password.begin(), password.begin() + 2), "pw");

    // Without "OK" every keystroke went out already; Enter adds nothing.
    TypeInto(Ctrl(1)->m_pEdit.get(), "a");
    EXPECT_EQ(NextValue(1), (std::vector<uint8_t>{'a', 0, 0, 0}));
    QTest::keyClick(Ctrl(1)->m_pEdit.get(), Qt::Key_Return);
    EXPECT_TRUE(NothingSent());
}

TEST_F(CtrlInput, EditsTakeTheDevicesMaximumLessTheTerminator) {
    using ksv::kFlagEditable;
    Connect({DeviceControl('T', kFlagEditable, 1).ValueText(u"").U32('m', 20),
             DeviceControl('T', kFlagEditable | ksv::kFlagWide, 2).ValueText(u"").U32('m', 20),
             DeviceControl('T', kFlagEditable, 3).ValueText(u"").U32('m', 0),
             DeviceControl('T', kFlagEditable, 4).ValueText(u"x").U32('m', 1)});
    EXPECT_EQ(Ctrl(1)->m_pEdit->maxLength(), 19);
    EXPECT_EQ(Ctrl(2)->m_pEdit->maxLength(), 9);
    // No room for a character: the edit shows the device's value and takes no typing.
    for (uint32_t id : {3u, 4u}) {
        const QString before = Ctrl(id)->m_pEdit->text();
        TypeInto(Ctrl(id)->m_pEdit.get(), "abc");
        EXPECT_EQ(Ctrl(id)->m_pEdit->text(), before) << id;
    }
    EXPECT_TRUE(NothingSent());
}

TEST_F(CtrlInput, PickersSendOnlyThePartsTheFlagsAskFor) {
    using namespace ksv;
    const std::vector<uint8_t> start = {5, 7, 9, 3, 2, 4, 2006 & 0xFF, 2006 >> 8};
    Connect({DeviceControl('D', kFlagEditable | kFlagHours | kFlagMinutes | kFlagDay, 1)
                 .ValueBytes(start)
                 .String('f', u"%HH%:%mm%"),
             DeviceControl('D', kFlagEditable | kFlagWeekday, 2)
                 .ValueBytes(start)
                 .String('f', u"%ddd%")},
            {{1, 1}, {2, 1}});
    CCtrl* both = Ctrl(1);
    ASSERT_TRUE(IsVisible(both->m_date.m_pTimePicker.get()));
    ASSERT_TRUE(IsVisible(both->m_date.m_pDatePicker.get()));
    EXPECT_FALSE(IsVisible(both->m_pCombo.get()));
    both->m_date.m_pTimePicker->setTime(QTime(10, 20, 59));
    EXPECT_EQ(NextValue(1), (std::vector<uint8_t>{5, 20, 10, 3, 2, 4, 2006 & 0xFF, 2006 >> 8}));
    both->m_date.m_pDatePicker->setDate(QDate(2011, 12, 25));
    EXPECT_EQ(NextValue(1), (std::vector<uint8_t>{5, 20, 10, 25, 2, 4, 2006 & 0xFF, 2006 >> 8}));

    // Only the weekday: the list is shown inline and its choice is byte 4.
    QComboBox* weekdays = Ctrl(2)->m_pCombo.get();
    ASSERT_TRUE(IsVisible(weekdays));
    EXPECT_EQ(weekdays->currentIndex(), 2);
    weekdays->setCurrentIndex(6);
    emit weekdays->activated(6);
    EXPECT_EQ(NextValue(2)[4], 6);
}

TEST_F(CtrlInput, ListDropDownAndListBoxStayInStep) {
    const std::u16string items(u"a\0b\0c\0", 6);
    Connect({DeviceControl('L', ksv::kFlagWide, 1).ValueU32(0).U32('n', 3).String('I', items),
             DeviceControl('L', ksv::kFlagWide, 2).ValueU32(0).U32('n', 3).String('I', items)},
            {{2, 1}});
    QComboBox* combo = Ctrl(1)->m_pCombo.get();
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(NextValue(1), I32(2));
    EXPECT_EQ(Ctrl(1)->m_list.m_pListBox->currentRow(), 2);

    QListWidget* box = Ctrl(2)->m_list.m_pListBox.get();
    ASSERT_TRUE(IsVisible(box));
    box->setCurrentRow(1);
    EXPECT_EQ(NextValue(2), I32(1));
    EXPECT_EQ(Ctrl(2)->m_pCombo->currentIndex(), 1);

    Send(ksv::EncodeValues({ksv::U32Entry(2, 0)}));
    ASSERT_TRUE(WaitFor([&] { return box->currentRow() == 0; }));
    EXPECT_EQ(Ctrl(2)->m_pCombo->currentIndex(), 0);
    EXPECT_TRUE(NothingSent());
}

TEST_F(CtrlInput, SectionsPasswordsFilesAndButtonsSendTheirValues) {
    Connect({DeviceControl('S', 0, 1).ValueByte(0).Caption(u"S"),
             DeviceControl('P', 0, 2).ValueByte(0), DeviceControl('F', 0, 3).Caption(u"F"),
             Button(4, u"B")});
    Click(Ctrl(1)->m_pButton.get());
    EXPECT_EQ(NextValue(1), std::vector<uint8_t>{0xFF});
    EXPECT_EQ(Ctrl(1)->OnCtlColor(Ctrl(1)->m_pButton.get()).text, QColor(0xC0, 0xC0, 0xC0));

    CCtrl* password = Ctrl(2);
    EXPECT_EQ(password->m_pEdit->geometry().width() + password->m_pButton->width() - 1, 236);
    TypeInto(password->m_pEdit.get(), "pw");
    EXPECT_TRUE(NothingSent());
    Click(password->m_pButton.get());
    const auto report = NextValue(2);
    ASSERT_EQ(report.size(), 68u);
    EXPECT_EQ(std::string(report.begin(), report.begin() + 2), "pw");
    EXPECT_EQ(password->m_pEdit->text(), QString());

    // Logged in by the device: one button that logs out.
    Send(ksv::EncodeValues({ksv::ByteEntry(2, 1)}));
    ASSERT_TRUE(WaitFor([&] { return Ctrl(2)->m_pButton->text() == "Log Out"; }));
    EXPECT_FALSE(IsVisible(Ctrl(2)->m_pEdit.get()));
    Click(Ctrl(2)->m_pButton.get());
    EXPECT_EQ(NextValue(2), std::vector<uint8_t>(68, 0));

    Click(Ctrl(3)->m_pButton.get());
    EXPECT_EQ(NextValue(3), std::vector<uint8_t>{});
    EXPECT_TRUE(Ctrl(3)->m_file.m_bFileRequested);
    Click(Ctrl(4)->m_pButton.get());
    EXPECT_EQ(NextValue(4), std::vector<uint8_t>{0xFF});
}

template <typename Dialog> Dialog* OpenDialog() {
    Dialog* found = nullptr;
    WaitFor([&found] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<Dialog*>(w); d && d->isVisible()) {
                found = d;
            }
        }
        return found != nullptr;
    });
    return found;
}

TEST_F(CtrlInput, FullScreenDialogsGiveTheirValueBackOnlyWhenAccepted) {
    const std::vector<uint8_t> date = {0, 30, 6, 1, 1, 1, 0xEA, 0x07};
    Connect(
        {DeviceControl('D', ksv::kFlagEditable | ksv::kFlagHours, 1)
             .ValueBytes(date)
             .String('f', u"%HH%"),
         Number(2, ksv::kFlagMaxApplies, 5, 0, 10),
         DeviceControl('M', 0, 3).ValueBytes(std::vector<uint8_t>(12, 0)).U32('n', 2).U32('N', 1)});
    Click(Ctrl(1)->m_pButton.get());
    CDateTimeDlg* dateDialog = OpenDialog<CDateTimeDlg>();
    ASSERT_NE(dateDialog, nullptr);
    Click(Ctrl(1)->m_pButton.get()); // the open one comes forward; no second one
    dateDialog->reject();
    EXPECT_TRUE(NothingSent());

    Click(Ctrl(2)->m_pButton.get());
    CNumberDlg* numberDialog = OpenDialog<CNumberDlg>();
    ASSERT_NE(numberDialog, nullptr);
    numberDialog->accept();
    EXPECT_EQ(NextValue(2), I32(5));

    // A session that ends closes what is still open, and nothing is taken from it.
    Click(Ctrl(1)->m_pButton.get());
    QPointer<CDateTimeDlg> left = OpenDialog<CDateTimeDlg>();
    Click(Ctrl(3)->m_pButton.get());
    QPointer<CMatrixDlg> chart = OpenDialog<CMatrixDlg>();
    ASSERT_FALSE(left.isNull());
    ASSERT_FALSE(chart.isNull());
    Send(ksv::EncodeBareFrame(ksv::kMsgGoodbyeFromDevice));
    ASSERT_TRUE(WaitFor([&left, &chart] { return left.isNull() && chart.isNull(); }));
    EXPECT_EQ(device.Drain(), 0u);
}

// Month "M+" on 31 January makes 31 February: no date, so every token of it shows dashes, in
// the dialog and on the button, and the value goes to the device as it stands.
TEST_F(CtrlInput, AnImpossibleDateShowsDashesForEveryTokenInTheDialogAndOnTheButton) {
    const std::vector<uint8_t> january31 = {5, 7, 10, 31, 6, 1, 0xEA, 0x07};
    Connect({DeviceControl('D', ksv::kFlagEditable | ksv::kFlagDateParts | ksv::kFlagTimeParts, 1)
                 .ValueBytes(january31)
                 .String('f', u"%dd%.%MM%.%yyyy% %HH%:%mm%:%ss% %ddd%")});
    Click(Ctrl(1)->m_pButton.get());
    CDateTimeDlg* dialog = OpenDialog<CDateTimeDlg>();
    ASSERT_NE(dialog, nullptr);
    ClickItem(*dialog, 1070); // month "M+"
    const QString shown = QStringLiteral("--.--.---- --:--:-- Sat");
    EXPECT_EQ(ItemById<QLabel>(*dialog, CDateTimeDlg::kValueStaticId)->text(), shown);
    ClickItem(*dialog, kEntryCloseId);
    std::vector<uint8_t> february31 = january31;
    february31[5] = 2;
    EXPECT_EQ(NextValue(1), february31);
    EXPECT_EQ(ksv::qt::GetWindowText(Ctrl(1)->m_pButton.get()), shown);
}

} // namespace

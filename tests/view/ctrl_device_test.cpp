// What the device's data and updates do to each kind, hostile data included.

#include "kinds_fixture.h"

#include "controls/device_message_box.h"
#include "platform/qt/message_box_count.h"
#include "tools/demo-device/demo_gif.h"

#include <QAbstractButton>
#include <QFileInfo>

#include <atomic>
#include <thread>

namespace {

using ksv::DeviceControl;
using CtrlDevice = KindsFixture;

DeviceControl Message(uint32_t id, uint32_t flags, const std::u16string& text) {
    DeviceControl box('X', flags, id);
    box.ValueText(text).U32('m', 80);
    return box;
}

void Answer(QMessageBox* box, QMessageBox::StandardButton which) {
    ASSERT_NE(box, nullptr);
    ASSERT_NE(box->button(which), nullptr);
    box->button(which)->click();
}

TEST_F(CtrlDevice, MessageBoxesAreAnsweredByTheirButtonsCode) {
    using namespace ksv;
    Connect({Message(1, kFlagIconQuestion | kFlagButtonsYesNo, u"Sure?"),
             Message(2, kFlagButtonsOkSilent, u"Note"),
             Message(3, kFlagButtonsAbortRetryIgnore, u"Jam")});
    // Built twice (the panel, then its recommended layout): each build shows every message.
    ASSERT_TRUE(WaitFor([] { return OpenBoxes().size() == 6; }));
    EXPECT_EQ(OpenMessageBoxCount(), 6);
    for (QMessageBox* box : OpenBoxes()) {
        if (box->text() == "Sure?") {
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            Answer(box, QMessageBox::No);
            EXPECT_EQ(NextValue(1), std::vector<uint8_t>{2});
        } else if (box->text() == "Note") {
            Answer(box, QMessageBox::Ok);
            EXPECT_TRUE(NothingSent());
        } else {
            Answer(box, QMessageBox::Ignore);
            EXPECT_EQ(NextValue(3), std::vector<uint8_t>{3});
        }
    }
    ASSERT_TRUE(WaitFor([] { return OpenBoxes().empty(); }));
    EXPECT_EQ(OpenMessageBoxCount(), 0);

    // Shown once; the device shows it again by clearing its shown bit.
    Send(EncodeValues({TextEntry(1, u"Again?", false, 80)}));
    Send(EncodeStyleUpdate({StyleEntry(1, kFlagIconQuestion | kFlagButtonsYesNo)}));
    ASSERT_TRUE(WaitFor([] { return OpenBoxes().size() == 1; }));
    EXPECT_EQ(OpenBoxes()[0]->text(), QString("Again?"));
    Answer(OpenBoxes()[0], QMessageBox::Yes);
    EXPECT_EQ(NextValue(1), std::vector<uint8_t>{1});
}

TEST_F(CtrlDevice, AStyleUpdateReplacesAMessagesIconAndButtons) {
    using namespace ksv;
    Connect({Message(1, kFlagHidden | kFlagIconExclamation | kFlagButtonsOk, u"Full")});
    Send(EncodeStyleUpdate({StyleEntry(1, kFlagIconInformation | kFlagButtonsOkSilent)}));
    ASSERT_TRUE(WaitFor([] { return OpenBoxes().size() == 1; }));
    EXPECT_EQ(OpenBoxes()[0]->icon(), QMessageBox::Information);
    Answer(OpenBoxes()[0], QMessageBox::Ok);
    EXPECT_TRUE(NothingSent()) << "the silent OK of the new buttons reports no answer";
}

TEST_F(CtrlDevice, ABurstOfMessagesOpensNoMoreThanTheCapAndAHugeTextIsCut) {
    using namespace ksv;
    const std::u16string huge(1 << 20, u'x');
    std::vector<DeviceControl> panel{
        Message(1, kFlagHidden, u"Burst"),
        DeviceControl('X', kFlagHidden, 2).ValueText(huge).U32('m', 1 << 20)};
    std::vector<DeviceEntry> many;
    for (uint32_t id = 3; id < 3 + 2 * kMaxOpenMessageBoxes; ++id) {
        panel.push_back(Message(id, kFlagHidden, u"Many"));
        many.push_back(StyleEntry(id, 0));
    }
    Connect(panel);
    // Written while the GUI runs: the pty holds only a few frames. Repeats of one message fold
    // into the pass that shows it; many messages at once meet the cap.
    std::atomic<bool> written{false};
    std::thread writer([this, &written, &many] {
        for (int i = 0; i < 1000; ++i) {
            Send(EncodeStyleUpdate({StyleEntry(1, 0)}));
        }
        Send(EncodeStyleUpdate(many));
        Send(EncodeStyleUpdate({StyleEntry(2, 0)}));
        Send(EncodeBareFrame(kMsgDevicePing)); // after the others: all of them were handled
        written = true;
    });
    const bool answered = WaitFor([this] { return ReadFrame().kind == kMsgPingReplyToDevice; },
                                  std::chrono::seconds(60));
    writer.join();
    ASSERT_TRUE(answered && written);
    // The receive thread answers the ping before the GUI has shown what came earlier.
    ASSERT_TRUE(WaitFor([] { return OpenMessageBoxCount() >= kMaxOpenMessageBoxes; }));
    EXPECT_EQ(OpenMessageBoxCount(), kMaxOpenMessageBoxes);
    EXPECT_EQ(OpenBoxes().size(), static_cast<size_t>(kMaxOpenMessageBoxes));
    for (QMessageBox* box : OpenBoxes()) {
        EXPECT_LE(box->text().size(), kMaxMessageChars + 1);
        box->button(QMessageBox::Ok)->click();
    }
    ASSERT_TRUE(WaitFor([] { return OpenMessageBoxCount() == 0; }));
}

TEST_F(CtrlDevice, ImagesAreTappedPressedAndReleasedUnlessRefusedOrDisabled) {
    using namespace ksv;
    const std::vector<uint8_t> gif = demo::MakeDemoGif(20);
    std::vector<uint8_t> huge = gif;
    huge[6] = huge[7] = huge[8] = huge[9] = 0; // a 4096 x 4096 picture, with the data of 20 x 20
    const size_t descriptor = 13 + 3 * 4;
    huge[descriptor + 5] = huge[descriptor + 7] = 0x00;
    huge[descriptor + 6] = huge[descriptor + 8] = 0x10;
    std::vector<uint8_t> truncated(gif.begin(), gif.begin() + 30);
    Connect({DeviceControl('I', kFlagEditable, 1).ValueBytes(gif),
             DeviceControl('I', kFlagEditable | kFlagDisabled, 2).ValueBytes(gif),
             DeviceControl('I', 0, 3).ValueBytes({'G', 'I', 'F', 0xFF, 0x00}),
             DeviceControl('I', 0, 4).ValueBytes(truncated),
             DeviceControl('I', 0, 5).ValueBytes(huge), Button(6, u"After")});
    EXPECT_EQ(Ctrl(1)->m_width, 20);
    for (uint32_t id : {3u, 5u}) {
        EXPECT_TRUE(Ctrl(id)->m_image.m_pImageBitmap.isNull()) << id;
    }
    EXPECT_TRUE(IsVisible(Ctrl(6)->m_pButton.get()));

    const CtrlRect r = Ctrl(1)->Rect();
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(r.x + 5, r.y + 5));
    EXPECT_TRUE(Ctrl(1)->m_image.m_bImagePressed);
    EXPECT_EQ(NextValue(1), std::vector<uint8_t>{});
    ASSERT_TRUE(WaitFor([&] { return !Ctrl(1)->m_image.m_bImagePressed; }));
    const CtrlRect disabled = Ctrl(2)->Rect();
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(disabled.x + 5, disabled.y + 5));
    EXPECT_TRUE(NothingSent());
}

TEST_F(CtrlDevice, BlobsAndFilesOpenOnlyWhatTheDesktopShould) {
    using namespace ksv;
    const uint32_t open = kFlagActionOpenInBrowser | kFlagEditable;
    Connect({DeviceControl('O', open, 1).ValueText(u"https://example.org/x").U32('m', 64),
             DeviceControl('O', open, 2).ValueText(u"file:///etc/passwd").U32('m', 64),
             DeviceControl('O', kFlagEditable, 3).ValueText(u"https://example.org/").U32('m', 64),
             DeviceControl('O', open, 4).ValueText(u"https://example.org/").U32('m', 0),
             DeviceControl('O', 0, 5).ValueBytes({1, 2, 3, 4, 5, 6}).U32('m', 4).U32('n', 99),
             DeviceControl('F', kFlagActionOpenInBrowser, 6).Caption(u"Get")});
    for (uint32_t id : {1u, 2u, 3u, 4u}) {
        Click(Ctrl(id)->m_pButton.get());
    }
    ASSERT_EQ(urls.size(), 1u);
    EXPECT_EQ(urls[0], QUrl("https://example.org/x"));
    EXPECT_EQ(messages.size(), 3u);
    EXPECT_EQ(Ctrl(4)->m_blob.m_nBlobLen, 0u);
    EXPECT_EQ(Ctrl(5)->m_blob.m_nBlobLen, 4u);
    EXPECT_TRUE(NothingSent());

    Click(Ctrl(6)->m_pButton.get());
    EXPECT_EQ(NextValue(6), std::vector<uint8_t>{});
    Send(EncodeFileTransfer(6, {DeviceFile{u"\\My Documents\\n.txt", false, {'h', 'i'}}}));
    ASSERT_TRUE(WaitFor([&] { return urls.size() == 2; }));
    EXPECT_TRUE(urls[1].isLocalFile());
    EXPECT_TRUE(urls[1].toLocalFile().endsWith("n.txt"));
    EXPECT_FALSE(Ctrl(6)->m_file.m_bFileRequested);
}

TEST_F(CtrlDevice, AFileAskedForIsToldWithTheFolderItIsIn) {
    using namespace ksv;
    Connect({DeviceControl('F', 0, 6).Caption(u"Get")});
    Click(Ctrl(6)->m_pButton.get());
    EXPECT_EQ(NextValue(6), std::vector<uint8_t>{});
    Send(EncodeFileTransfer(6, {DeviceFile{u"\\My Documents\\n.txt", false, {'h', 'i'}}}));
    ASSERT_TRUE(WaitFor([&] { return messages.size() == 1; }));
    const QString folder = messages[0].section(QStringLiteral("It is in the folder "), 1);
    EXPECT_TRUE(messages[0].startsWith("Received n.txt.")) << messages[0].toStdString();
    EXPECT_TRUE(folder.endsWith("/My Documents")) << messages[0].toStdString();
    EXPECT_TRUE(QFileInfo(folder + "/n.txt").isFile()) << messages[0].toStdString();

    // Pushed without being asked for: only the button's tool tip tells.
    Send(EncodeFileTransfer(6, {DeviceFile{u"m.txt", false, {'x'}}}));
    ASSERT_TRUE(
        WaitFor([&] { return Ctrl(6)->m_pButton->toolTip().startsWith("Received m.txt"); }));
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(CtrlDevice, TheInlineTableFollowsTheRowsTheDeviceSends) {
    using namespace ksv;
    std::vector<uint8_t> blob(4 * 2 * 4, 0); // 4 rows, 2 series, no X
    PutU32(blob, 2);
    Connect({DeviceControl('M', 0, 1)
                 .ValueBytes(blob)
                 .U32('n', 4)
                 .U32('N', 2)
                 .String('F', u"%%")
                 .String('A', std::u16string(u"a\0b\0", 4))},
            {{1, 7}});
    QTableView* table = Ctrl(1)->m_matrix.m_pTableWnd.get();
    ASSERT_TRUE(IsVisible(table));
    EXPECT_EQ(table->model()->rowCount(), 2);
    EXPECT_EQ(table->model()->columnCount(), 2);
    EXPECT_EQ(table->model()->headerData(1, Qt::Horizontal).toString(), QString("b"));

    std::vector<uint8_t> cells;
    PutU32(cells, 42);
    PutU32(cells, 7);
    Send(EncodeMatrixRows({MatrixRowEntry(1, cells, {}, 3, 2)}));
    ASSERT_TRUE(WaitFor([&] { return table->model()->rowCount() == 3; }));
    EXPECT_EQ(table->model()->index(2, 0).data().toString(), QString("42"));
    EXPECT_EQ(table->model()->index(2, 1).data().toString(), QString("7"));
    // A full ring shows every slot; a smaller count drops the last rows.
    Send(EncodeMatrixRows({MatrixRowEntry(1, cells, {}, static_cast<uint32_t>(-1), 3)}));
    ASSERT_TRUE(WaitFor([&] { return table->model()->rowCount() == 4; }));
    Send(EncodeMatrixRows({MatrixRowEntry(1, cells, {}, 1, 0)}));
    ASSERT_TRUE(WaitFor([&] { return table->model()->rowCount() == 1; }));
}

TEST_F(CtrlDevice, HostileValuesAndStoredAppearancesBuildAPanelThatStillWorks) {
    using namespace ksv;
    const std::vector<uint8_t> badDate = {61, 61, 25, 0, 9, 13, 0, 0};
    Connect({DeviceControl('N', kFlagEditable, 1).ValueU32(5).U32('n', 100).U32('x', 10),
             DeviceControl('N', 0, 2).ValueU32(5).U32('n', 100).U32('x', 10),
             DeviceControl('N', kFlagNotationFixed, 3).ValueU32(7).Byte('d', 200).Byte('m', 0x80),
             DeviceControl('D', kFlagEditable | kFlagWeekday, 4)
                 .ValueBytes(badDate)
                 .String('f', u"%dd%.%MM% %ddd%"),
             DeviceControl('L', kFlagWide, 5)
                 .ValueU32(7)
                 .U32('n', 5)
                 .String('I', std::u16string(u"a\0b", 3)),
             DeviceControl('G', 0, 6).ValueByte(0), DeviceControl('M', 0, 7).ValueBytes({})},
            {{1, 4}, {2, 3}, {4, 1}, {5, -5}, {6, 99}, {7, 99}});
    EXPECT_EQ(Ctrl(1)->m_number.m_pSlider->minimum(), 0);
    EXPECT_EQ(Ctrl(1)->m_number.m_pSlider->maximum(), 100);
    EXPECT_EQ(Ctrl(2)->Appearance(), 0); // no range: no bar
    EXPECT_TRUE(IsVisible(Ctrl(2)->m_pValueWnd.get()));
    EXPECT_FALSE(Ctrl(3)->m_pValueWnd->text().isEmpty());
    EXPECT_EQ(Ctrl(4)->m_pCombo->currentIndex(), -1);
    EXPECT_EQ(Ctrl(5)->m_list.m_pListBox->count(), 2);
    EXPECT_EQ(Ctrl(5)->m_pCombo->itemText(1), QString("b"));
    EXPECT_EQ(Ctrl(5)->m_pCombo->currentIndex(), -1);
    EXPECT_TRUE(IsVisible(Ctrl(5)->m_pCombo.get()));
    EXPECT_EQ(Ctrl(6)->Appearance(), 0);
    EXPECT_EQ(Ctrl(7)->Appearance(), 0);
    EXPECT_EQ(reporter.ReportCount(kCtrlModule), 0u);

    // Still operable: the slider sends, the list sends what is there.
    QTest::keyClick(Ctrl(1)->m_number.m_pSlider.get(), Qt::Key_Right);
    EXPECT_EQ(NextValue(1), I32(6));
    Ctrl(5)->m_pCombo->setCurrentIndex(1);
    emit Ctrl(5)->m_pCombo->activated(1);
    EXPECT_EQ(NextValue(5), I32(1));
}

} // namespace

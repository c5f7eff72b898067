// What the screen spends on a device's input: titles, drawn texts and pictures are bounded,
// while the store keeps every value whole.

#include "kinds_fixture.h"

#include "controls/value_text.h"
#include "link/panel_budget.h"
#include "view/store_value.h"

#include <QLabel>
#include <QPushButton>

namespace {

using ksv::DeviceControl;
using ScreenBudget = KindsFixture;

// A one-colour GIF whose data fills every pixel in a few KiB: each code is the next free
// entry, one pixel longer than the one before.
std::vector<uint8_t> SolidGif(int width, int height) {
    std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a'};
    const auto put16 = [&gif](int v) {
        gif.push_back(uint8_t(v));
        gif.push_back(uint8_t(v >> 8));
    };
    put16(width);
    put16(height);
    gif.insert(gif.end(), {0x81, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0x2C});
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    gif.insert(gif.end(), {0, 2});
    std::vector<uint8_t> bytes;
    uint32_t bits = 0;
    int bitCount = 0;
    int codeSize = 3;
    const auto put = [&](uint32_t code) {
        bits |= code << bitCount;
        bitCount += codeSize;
        for (; bitCount >= 8; bitCount -= 8, bits >>= 8) {
            bytes.push_back(uint8_t(bits));
        }
    };
    put(4); // clear
    put(1);
    uint32_t next = 6;
    size_t length = 1;
    for (size_t written = 1; written < size_t(width) * size_t(height); written += length) {
        put(next);
        length += 1;
        if (++next == (1u << codeSize) && codeSize < 12) {
            ++codeSize;
        }
    }
    bytes.push_back(uint8_t(bits));
    for (size_t at = 0; at < bytes.size(); at += 255) {
        const size_t n = std::min<size_t>(255, bytes.size() - at);
        gif.push_back(uint8_t(n));
        gif.insert(gif.end(), bytes.begin() + ptrdiff_t(at), bytes.begin() + ptrdiff_t(at + n));
    }
    gif.insert(gif.end(), {0, 0x3B});
    return gif;
}

TEST_F(ScreenBudget, HugeDeviceNameIsElidedInTheTitle) {
    StartView();
    Click(ViewButton(IDC_BTN_CONNECT));
    ASSERT_EQ(ReadFrame().kind, ksv::kMsgHello);
    const std::u16string name(size_t{16} << 20, u'N');
    Send(ksv::EncodeHelloReply(name, false));
    ASSERT_TRUE(WaitFor([this] { return title.startsWith('N'); }, std::chrono::seconds(20)));
    EXPECT_LE(static_cast<size_t>(title.size()), ksv::kMaxTitleChars);
    EXPECT_TRUE(title.endsWith(QChar(0x2026)));
    EXPECT_EQ(link->GetDeviceName()->size(), name.size());
}

TEST_F(ScreenBudget, HugeCaptionAndTextAreCappedWhereDrawnAndKeptWhole) {
    const std::u16string caption(size_t{4} << 20, u'C');
    const std::u16string text(60000, u'T');
    Connect({Button(1, caption),
             DeviceControl('T', 0, 2).ValueText(text).U32('m', 60001).Caption(caption)});
    for (uint32_t id : {1u, 2u}) {
        EXPECT_LE(static_cast<size_t>(Ctrl(id)->m_pLabelWnd->text().size()),
                  ksv::kMaxDrawnTextChars);
    }
    EXPECT_LE(static_cast<size_t>(Ctrl(1)->m_pButton->text().size()), ksv::kMaxDrawnTextChars);
    EXPECT_TRUE(Ctrl(1)->m_pButton->text().startsWith(QStringLiteral("CCCC")));
    EXPECT_LE(static_cast<size_t>(Ctrl(2)->m_pValueWnd->text().size()), ksv::kMaxDrawnTextChars);

    ksv::PanelStore& store = link->Store();
    const ksv::StoreLock lock(store);
    EXPECT_EQ(lock.FindControl(1)->caption.size(), caption.size());
    EXPECT_EQ(TextOfValue(ReadControlValue(store, 2)).size(), qsizetype(text.size()));
}

TEST_F(ScreenBudget, PicturesPastThePanelBudgetAreRefusedAndToldOnce) {
    const std::vector<uint8_t> gif = SolidGif(1024, 1024);
    const size_t fit = ksv::kMaxPanelPicturePixels / ksv::kMaxPicturePixels;
    std::vector<DeviceControl> controls;
    for (uint32_t id = 1; id <= fit + 2; ++id) {
        controls.push_back(DeviceControl('I', 0, id).ValueBytes(gif));
    }
    // Built twice: the panel, then again with its recommended layout.
    Connect(controls);
    for (uint32_t id = 1; id <= fit + 2; ++id) {
        EXPECT_EQ(Ctrl(id)->m_image.m_bRefused, id > fit) << id;
        EXPECT_EQ(Ctrl(id)->m_image.m_pImageBitmap.height(), id > fit ? 0 : 1024) << id;
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("too large to show")));
}

TEST_F(ScreenBudget, LargePanelHasWindowsOnlyNearThePageShown) {
    const uint32_t count = ksv::kMaxPanelWindowControls + 100;
    std::vector<DeviceControl> controls;
    for (uint32_t id = 1; id <= count; ++id) {
        controls.push_back(DeviceControl('T', 0, id).ValueText(u"first").U32('m', 20));
    }
    Connect(controls);
    ASSERT_GT(view->LastPage(), 2 * ksv::kWindowPageReach + 1);
    EXPECT_TRUE(IsVisible(Ctrl(1)->m_pValueWnd.get()));
    EXPECT_EQ(Ctrl(1)->m_pValueWnd->text(), QStringLiteral("first"));
    EXPECT_FALSE(Ctrl(count)->HasWindows());
    EXPECT_LT(view->findChildren<QLabel*>().size(), 100);

    // A value for a control without windows shows when its page does.
    Send(ksv::EncodeValues({ksv::TextEntry(count, u"later", false, 20)}));
    ASSERT_TRUE(WaitFor([&] { return Ctrl(count)->m_text == QStringLiteral("later"); }));
    view->OnMenuCommand(ID_PAGE_LAST);
    ASSERT_EQ(view->CurrentPage(), Ctrl(count)->m_page);
    ASSERT_TRUE(Ctrl(count)->HasWindows());
    EXPECT_TRUE(IsVisible(Ctrl(count)->m_pValueWnd.get()));
    EXPECT_EQ(Ctrl(count)->m_pValueWnd->text(), QStringLiteral("later"));
    EXPECT_FALSE(Ctrl(1)->HasWindows());

    view->OnMenuCommand(ID_PAGE_FIRST);
    ASSERT_TRUE(Ctrl(1)->HasWindows());
    EXPECT_TRUE(IsVisible(Ctrl(1)->m_pValueWnd.get()));
    EXPECT_LT(view->findChildren<QLabel*>().size(), 100);
}

} // namespace

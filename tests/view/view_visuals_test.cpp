// How the panel looks on a desktop: captions whole or elided, never cut at both edges; the
// page bar at the foot of the layout in a taller window; buttons flat in the device's colours.

#include "kinds_fixture.h"

#include "tools/demo-device/demo_gif.h"
#include "tools/demo-device/demo_panel.h"

#include "platform/qt/eliding_header.h"

#include <QAbstractButton>
#include <QDir>
#include <QStyleOptionButton>
#include <QStyleOptionHeader>
#include <QTableView>

namespace {

constexpr uint32_t kIdLong = 900;
constexpr uint32_t kIdAmpersand = 901;
const QString kLongCaption = QStringLiteral("This button will never fit its window");

int CaptionRoom(const QAbstractButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    const bool check = qobject_cast<const QCheckBox*>(&button) != nullptr;
    return button.style()
        ->subElementRect(check ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents,
                         &option, &button)
        .width();
}

// The text painted fits its room; a text that had to be cut ends in "…" and is whole in the
// tooltip; one shown whole has no tooltip.
void ExpectCaptionShownSoundly(const QWidget& window) {
    const QString whole = ksv::qt::GetWindowText(&window);
    QString shown;
    QStringList lines;
    int room = 0;
    if (const auto* button = qobject_cast<const QAbstractButton*>(&window)) {
        shown = button->text().replace(QStringLiteral("&&"), QStringLiteral("&"));
        lines = QStringList{shown};
        room = CaptionRoom(*button);
    } else if (const auto* label = qobject_cast<const QLabel*>(&window)) {
        shown = label->text();
        lines = shown.split(QLatin1Char('\n'));
        room = label->contentsRect().width();
    } else {
        return;
    }
    if (whole.isEmpty() || window.width() == 0) {
        return;
    }
    for (const QString& line : lines) {
        EXPECT_LE(window.fontMetrics().horizontalAdvance(line), room) << whole.toStdString();
    }
    if (shown == whole) {
        EXPECT_TRUE(window.toolTip().isEmpty()) << whole.toStdString();
        return;
    }
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_EQ(window.toolTip(), whole);
}

// Each column label fits its section or ends in "…".
void ExpectHeadingsShownSoundly(const QTableView& table) {
    const auto* header = qobject_cast<const ksv::qt::ElidingHeader*>(table.horizontalHeader());
    ASSERT_NE(header, nullptr);
    for (int column = 0; column < header->count(); ++column) {
        const QString whole = table.model()->headerData(column, Qt::Horizontal).toString();
        const QString shown = header->ShownLabel(column);
        QStyleOptionHeader option;
        option.initFrom(header);
        option.rect = QRect(0, 0, header->sectionSize(column), header->height());
        const int room =
            header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header).width();
        EXPECT_LE(header->fontMetrics().horizontalAdvance(shown), room) << whole.toStdString();
        EXPECT_TRUE(shown == whole || shown.endsWith(QChar(0x2026))) << shown.toStdString();
    }
}

void ExpectEveryCaptionShownSoundly(const QWidget& view) {
    for (const QObject* child : view.children()) {
        const auto* window = qobject_cast<const QWidget*>(child);
        if (window == nullptr || !window->isVisibleTo(&view)) {
            continue;
        }
        ExpectCaptionShownSoundly(*window);
        if (const auto* table = qobject_cast<const QTableView*>(window)) {
            ExpectHeadingsShownSoundly(*table);
        }
    }
}

class ViewVisuals : public KindsFixture {
protected:
    void ConnectDemo(std::vector<ksv::DeviceControl> extra = {}) {
        std::map<uint32_t, int> appearances;
        for (const ksv::LayoutEntry& entry : ksv::demo::DemoLayout()) {
            if (entry.keyB == kAppearance) {
                appearances[entry.keyA] = static_cast<int>(entry.value);
            }
        }
        std::vector<ksv::DeviceControl> panel = ksv::demo::DemoPanel(ksv::demo::MakeDemoGif());
        panel.insert(panel.end(), extra.begin(), extra.end());
        Connect(panel, appearances);
    }

    void GoToPage(int page) {
        view->OnMenuCommand(ID_PAGE_FIRST);
        for (int i = 0; i < page; ++i) {
            view->OnMenuCommand(ID_PAGE_NEXT);
        }
    }

    // Every control takes the colour (style bit 0x40: a colour follows); the flags stay, so
    // nothing is rebuilt.
    void Recolour(uint32_t colour) {
        std::vector<ksv::DeviceEntry> entries;
        for (uint32_t i = 0; i < view->ControlCount(); ++i) {
            const CCtrl& ctrl = *view->Control(i);
            entries.push_back(ksv::StyleEntry(ctrl.m_deviceId, ctrl.m_flags | 0x40, colour));
        }
        Send(ksv::EncodeStyleUpdate(entries));
        ASSERT_TRUE(WaitFor([&] { return view->Control(0)->m_colour == colour; }));
    }
};

TEST_F(ViewVisuals, TheStartScreenShowsItsButtonsWhole) {
    settings.WriteProfileInt(ksv::kGlobalSection, "m_PermitInbound", 1);
    StartView();
    QDir().mkpath(QStringLiteral(KSV_SCREENSHOT_DIR));
    EXPECT_TRUE(view->grab().save(QStringLiteral(KSV_SCREENSHOT_DIR "/start-screen.png")));
    for (int id : {IDC_BTN_CONNECT, IDC_BTN_CONNECT_INBOUND, IDC_BTN_EXIT}) {
        ASSERT_TRUE(IsVisible(ViewButton(id)));
        EXPECT_EQ(ViewButton(id)->text(), ksv::qt::GetWindowText(ViewButton(id)));
    }
    ExpectEveryCaptionShownSoundly(*view);
}

TEST_F(ViewVisuals, EveryCaptionOfTheDemoPanelIsWholeOrElided) {
    ConnectDemo(
        {Button(kIdLong, kLongCaption.toStdU16String()), Button(kIdAmpersand, u"Salt & Pepper")});
    for (int page = 0; page <= view->LastPage(); ++page) {
        GoToPage(page);
        ExpectEveryCaptionShownSoundly(*view);
    }
    // The page bar shows its captions whole.
    for (int id : {IDC_BTN_CLOSE, IDC_BTN_PREV, IDC_BTN_NEXT, IDC_BTN_FIRST}) {
        EXPECT_EQ(ViewButton(id)->text(), ksv::qt::GetWindowText(ViewButton(id)));
    }
    const QPushButton* longButton = Ctrl(kIdLong)->m_pButton.get();
    EXPECT_TRUE(longButton->text().startsWith(QStringLiteral("This ")));
    EXPECT_EQ(longButton->toolTip(), kLongCaption);
    // "&" is no shortcut marker: shown as itself, and no Alt key presses the button.
    const QPushButton* ampersand = Ctrl(kIdAmpersand)->m_pButton.get();
    EXPECT_EQ(ampersand->text(), QStringLiteral("Salt && Pepper"));
    EXPECT_TRUE(ampersand->shortcut().isEmpty());
}

TEST_F(ViewVisuals, ATallerWindowKeepsThePageBarAtTheFootOfTheLayout) {
    ConnectDemo();
    view->resize(CKestrovaneView::kReferenceWidth, 600);
    QTest::qWait(0);
    EXPECT_EQ(ViewButton(IDC_BTN_CLOSE)->geometry().bottom(), 265);
    for (const QObject* child : view->children()) {
        const auto* window = qobject_cast<const QWidget*>(child);
        if (window != nullptr && window->isVisibleTo(view.get())) {
            EXPECT_LT(window->geometry().bottom(), CKestrovaneView::kLayoutHeight);
        }
    }
    // Below the layout one plain colour, set off from the panel's own background.
    const QImage shot = view->grab().toImage();
    EXPECT_TRUE(shot.save(QStringLiteral(KSV_SCREENSHOT_DIR "/taller-window.png")));
    const QRgb below = shot.pixel(120, 300);
    EXPECT_EQ(shot.pixel(5, 599), below);
    EXPECT_EQ(shot.pixel(235, 420), below);
    EXPECT_NE(shot.pixel(120, 267), below);
}

TEST_F(ViewVisuals, ButtonsAreAFlatFillOfTheDeviceColourWithItsTextRule) {
    ConnectDemo();
    const QString folder = QStringLiteral(KSV_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    struct Case {
        uint32_t colour;
        const char* name;
        QColor normalText;
        QColor invertedFill;
    };
    const Case cases[] = {
        {0xC0FFFF, "light", Qt::black, Qt::black}, // light yellow: brightness 702
        {0x400000, "dark", Qt::white, Qt::white},  // dark blue: brightness 64
    };
    for (const Case& c : cases) {
        Recolour(c.colour);
        for (int page = 0; page <= view->LastPage(); ++page) {
            GoToPage(page);
            const QImage shot = view->grab().toImage();
            EXPECT_TRUE(shot.save(folder + QStringLiteral("/colours-%1-page-%2.png")
                                               .arg(QLatin1String(c.name))
                                               .arg(page + 1)));
        }
        const QColor device = ksv::qt::ColourFromRef(c.colour);
        // Typing on the device's colour stays readable.
        const QLineEdit* password = Ctrl(ksv::demo::kIdLogin)->m_pEdit.get();
        EXPECT_EQ(password->palette().color(QPalette::Active, QPalette::Text), c.normalText);
        GoToPage(Ctrl(ksv::demo::kIdAsk)->EffectivePage());
        // A button off and a latch on: the device's colour, then the inverted rule.
        QPushButton* button = Ctrl(ksv::demo::kIdAsk)->m_pButton.get();
        QPushButton* latchOn = Ctrl(ksv::demo::kIdModeA)->m_pButton.get();
        for (const auto& [window, fill, text] :
             {std::tuple{button, device, c.normalText}, {latchOn, c.invertedFill, device}}) {
            const QImage face = window->grab().toImage();
            const int w = face.width();
            const int h = face.height();
            // Flat: the same colour at the top and at the bottom, inside the border.
            EXPECT_EQ(QColor(face.pixel(3, 2)), fill) << c.name;
            EXPECT_EQ(QColor(face.pixel(w - 4, h - 3)), fill) << c.name;
            bool textFound = false;
            for (int x = 0; x < w && !textFound; ++x) {
                for (int y = 0; y < h && !textFound; ++y) {
                    textFound = QColor(face.pixel(x, y)) == text;
                }
            }
            EXPECT_TRUE(textFound) << c.name;
        }
    }
}

TEST_F(ViewVisuals, PressedAndFocusedButtonsStandOutFromTheirFill) {
    ConnectDemo();
    GoToPage(Ctrl(ksv::demo::kIdAsk)->EffectivePage());
    QPushButton* button = Ctrl(ksv::demo::kIdAsk)->m_pButton.get();
    const QRgb fill = button->grab().toImage().pixel(3, 2);
    button->setDown(true);
    EXPECT_NE(button->grab().toImage().pixel(3, 2), fill);
    button->setDown(false);

    button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(WaitFor([&] { return button->hasFocus(); }));
    const QImage focused = button->grab().toImage();
    int dots = 0;
    for (int y = 0; y < focused.height(); ++y) {
        dots += QColor(focused.pixel(3, y)) == QColor(Qt::black) ? 1 : 0;
    }
    EXPECT_GT(dots, focused.height() / 4); // a dotted frame in the text colour
}

} // namespace

// The demo device's panel, page by page, rendered offscreen to PNG (kept in the build folder)
// and checked the way a user would look at it: every window inside its control, no control
// over another, nothing cut off, and "???" only for the tag nobody knows.

#include "kinds_fixture.h"

#include "tools/demo-device/demo_gif.h"
#include "tools/demo-device/demo_panel.h"

#include <QAbstractButton>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>

namespace {

using ViewScreenshots = KindsFixture;

QRect RectOf(const CCtrl& ctrl) {
    const CtrlRect r = ctrl.Rect();
    return QRect(r.x, r.y, r.w, r.h);
}

const CCtrl* OwnerOf(const CKestrovaneView& view, const QWidget* window) {
    for (uint32_t i = 0; i < view.ControlCount(); ++i) {
        if (view.Control(i)->OwnsWindow(window)) {
            return view.Control(i);
        }
    }
    return nullptr;
}

// A one-line caption that does not fit its window is cut at both edges.
bool TextFits(const QWidget* window) {
    const auto* button = qobject_cast<const QAbstractButton*>(window);
    if (button == nullptr || button->text().isEmpty()) {
        return true;
    }
    return button->fontMetrics().horizontalAdvance(button->text()) <= button->width();
}

TEST_F(ViewScreenshots, EveryPageOfTheDemoPanelShowsEachKindInItsPlace) {
    ConnectWithLayout(ksv::demo::DemoPanel(ksv::demo::MakeDemoGif()), ksv::demo::DemoLayout());
    const QString folder = QStringLiteral(KSV_SCREENSHOT_DIR);
    QDir().mkpath(folder);

    std::set<ControlKind> kindsSeen;
    for (int page = 0; page <= view->LastPage(); ++page) {
        view->OnMenuCommand(ID_PAGE_FIRST);
        for (int i = 0; i < page; ++i) {
            view->OnMenuCommand(ID_PAGE_NEXT);
        }
        ASSERT_EQ(view->CurrentPage(), page);
        const QImage shot = view->grab().toImage();
        EXPECT_TRUE(shot.save(folder + QStringLiteral("/demo-page-%1.png").arg(page + 1)));

        std::vector<QRect> onPage;
        for (uint32_t i = 0; i < view->ControlCount(); ++i) {
            const CCtrl& ctrl = *view->Control(i);
            if (!ctrl.IsShown() || ctrl.m_kind == ControlKind::MessageBox ||
                ctrl.EffectivePage() != page) {
                continue;
            }
            kindsSeen.insert(ctrl.m_kind);
            const QRect rect = RectOf(ctrl);
            EXPECT_TRUE(QRect(0, 0, 240, 209).contains(rect)) << ctrl.m_deviceId;
            for (const QRect& other : onPage) {
                EXPECT_FALSE(other.intersects(rect)) << ctrl.m_deviceId;
            }
            onPage.push_back(rect);
            if (ctrl.m_kind == ControlKind::Unsupported) {
                EXPECT_EQ(ctrl.m_deviceId, ksv::demo::kIdFuture);
            }
        }
        for (const QObject* child : view->children()) {
            const auto* window = qobject_cast<const QWidget*>(child);
            const CCtrl* owner = window ? OwnerOf(*view, window) : nullptr;
            if (owner == nullptr || !window->isVisibleTo(view.get())) {
                continue;
            }
            // Pickers reach one pixel further down, into the gap below.
            EXPECT_TRUE(RectOf(*owner).adjusted(0, 0, 0, 1).contains(window->geometry()))
                << owner->m_deviceId << " " << window->metaObject()->className();
            EXPECT_TRUE(TextFits(window)) << owner->m_deviceId;
        }
    }
    // Every kind but the message box has a place on some page.
    EXPECT_EQ(kindsSeen.size(), 13u);

    // A control whose windows do not show its caption has it above them, whole.
    for (uint32_t i = 0; i < view->ControlCount(); ++i) {
        const CCtrl& ctrl = *view->Control(i);
        const bool captionElsewhere =
            ctrl.m_kind == ControlKind::Text || ctrl.m_kind == ControlKind::Number ||
            ctrl.m_kind == ControlKind::DateTime || ctrl.m_kind == ControlKind::List ||
            ctrl.m_kind == ControlKind::Password || ctrl.m_kind == ControlKind::Matrix;
        if (!ctrl.IsShown() || !captionElsewhere) {
            continue;
        }
        ASSERT_TRUE(ctrl.m_bShowLabel) << ctrl.m_deviceId;
        const QLabel* label = ctrl.m_pLabelWnd.get();
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
            << ctrl.m_deviceId;
        EXPECT_EQ(label->text(), ctrl.m_caption) << ctrl.m_deviceId;
    }
    // The inline table shows every machine's row; the weekday list is as tall as its neighbour.
    const QTableView* machines = Ctrl(ksv::demo::kIdTable)->m_matrix.m_pTableWnd.get();
    EXPECT_LE(machines->rowViewportPosition(2) + machines->rowHeight(2),
              machines->viewport()->height());
    EXPECT_EQ(Ctrl(ksv::demo::kIdRestDay)->m_pCombo->height(),
              Ctrl(ksv::demo::kIdSpeed)->m_pCombo->height());

    // A few windows per kind where Place puts them.
    const CCtrl* setpoint = Ctrl(ksv::demo::kIdSetpoint);
    const QRect spin = RectOf(*setpoint);
    const int side = spin.height() - setpoint->m_nLabelFontHeight; // a square of the body's height
    EXPECT_EQ(setpoint->m_number.m_pPlus->geometry(),
              QRect(spin.right() - side + 1, spin.bottom() - side + 1, side, side));
    EXPECT_EQ(setpoint->m_number.m_pMinus->geometry().x(), spin.right() - 2 * side + 2);
    const CCtrl* login = Ctrl(ksv::demo::kIdLogin);
    const QRect loginRect = RectOf(*login);
    EXPECT_EQ(loginRect.width(), 236);
    EXPECT_EQ(login->m_pButton->geometry().bottomRight(), loginRect.bottomRight());
    const CCtrl* alarm = Ctrl(ksv::demo::kIdAlarm);
    EXPECT_EQ(alarm->m_date.m_pTimePicker->geometry(),
              RectOf(*alarm).adjusted(0, alarm->m_nLabelFontHeight, 0, 1));
    const CCtrl* picture = Ctrl(ksv::demo::kIdPicture);
    EXPECT_EQ(RectOf(*picture).size(), QSize(40, 40));
    // The recommended layout's own page for the live chart, its caption above it.
    const CCtrl* chart = Ctrl(ksv::demo::kIdChart);
    EXPECT_EQ(chart->EffectivePage(), static_cast<int>(ksv::demo::kLiveChartPage));
    EXPECT_EQ(RectOf(*chart), QRect(2, 2, 236, 205));
    EXPECT_TRUE(chart->m_bShowLabel);
    int onChartPage = 0;
    for (uint32_t i = 0; i < view->ControlCount(); ++i) {
        const CCtrl& ctrl = *view->Control(i);
        onChartPage += ctrl.IsShown() && ctrl.EffectivePage() == chart->EffectivePage() ? 1 : 0;
    }
    EXPECT_EQ(onChartPage, 1);
    const CCtrl* tank = Ctrl(ksv::demo::kIdTank);
    EXPECT_EQ(tank->m_number.m_pValueWnd2->geometry().x(), RectOf(*tank).x());
    // The tank reads right: the filled part in a strong colour, the rest plain white.
    const CtlColour filled = tank->OnCtlColor(tank->m_number.m_pValueWnd2.get());
    EXPECT_LT(filled.brush.red() + filled.brush.green() + filled.brush.blue(), 255);
    EXPECT_EQ(filled.text, QColor(Qt::white));
    EXPECT_EQ(tank->OnCtlColor(tank->m_pValueWnd.get()).brush, QColor(Qt::white));
}

} // namespace

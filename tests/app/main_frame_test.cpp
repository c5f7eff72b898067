#include "app/main_frame.h"
#include "resources/resource_ids.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace {

struct Item {
    QString text;
    int id; // 0: separator
};

std::vector<Item> PopupItems(QMenu* popup) {
    std::vector<Item> items;
    for (QAction* action : popup->actions()) {
        items.push_back({action->isSeparator() ? QString() : action->text(),
                         action->property("commandId").toInt()});
    }
    return items;
}

QMenu* Popup(CMainFrame& frame, const QString& title) {
    for (QAction* action : frame.menuBar()->actions()) {
        if (action->text() == title)
            return action->menu();
    }
    return nullptr;
}

// Stands in for the view: answers from tables and records what it was asked and told.
struct FakeView {
    std::set<int> enabled;
    std::set<int> checked;
    std::set<int> asked;
    std::vector<int> run;

    MenuCommandHandlers Handlers() {
        return {[this](int id) {
                    asked.insert(id);
                    return enabled.count(id) != 0;
                },
                [this](int id) { return checked.count(id) != 0; },
                [this](int id) { run.push_back(id); }};
    }
};

void OpenAndClose(QMenu* popup) {
    popup->popup(QPoint(0, 0));
    EXPECT_TRUE(QTest::qWaitFor([popup] { return popup->isVisible(); }, 2000));
    popup->hide();
}

TEST(CMainFrame, Menu128HasBothPopupsWithTheirItemsAndIds) {
    CMainFrame frame;
    ASSERT_EQ(frame.menuBar()->actions().size(), 2);
    QMenu* navigation = Popup(frame, "Navigation");
    QMenu* settings = Popup(frame, "Settings");
    ASSERT_NE(navigation, nullptr);
    ASSERT_NE(settings, nullptr);

    const std::vector<std::pair<QString, int>> expectNavigation = {
        {"Previous Page", 32790}, {"Next Page", 32789}, {"", 0},
        {"First Page", 32791},    {"Last Page", 32792}, {"", 0},
        {"Close", 32801}};
    const std::vector<std::pair<QString, int>> expectSettings = {
        {"Layout Controls...", 32785},
        {"Load Recommended Layout", 32802},
        {"Always Reload Layout on Connect", 32805},
        {"Default Layout", 32803},
        {"", 0},
        {"Pings...", 32780},
        {"Com Ports...", 32771},
        {"Reconnect Automatically", ID_RECONNECT_AUTOMATICALLY},
        {"Link Monitor", ID_LINK_MONITOR},
        {"", 0},
        {"Zoom In", ID_ZOOM_IN},
        {"Zoom Out", ID_ZOOM_OUT},
        {"Actual Size", ID_ZOOM_ACTUAL}};
    for (auto [popup, expected] :
         {std::pair{navigation, expectNavigation}, std::pair{settings, expectSettings}}) {
        const std::vector<Item> items = PopupItems(popup);
        ASSERT_EQ(items.size(), expected.size());
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].text, expected[i].first) << i;
            EXPECT_EQ(items[i].id, expected[i].second) << i;
        }
    }
    for (QAction* action : settings->actions()) {
        const int id = action->property("commandId").toInt();
        EXPECT_EQ(action->isCheckable(), id == 32805 || id == ID_RECONNECT_AUTOMATICALLY);
    }

    const std::map<int, QList<QKeySequence>> shortcuts = {
        {ID_ZOOM_IN, {QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")}},
        {ID_ZOOM_OUT, {QKeySequence("Ctrl+-")}},
        {ID_ZOOM_ACTUAL, {QKeySequence("Ctrl+0")}}};
    for (QAction* action : frame.menuBar()->findChildren<QAction*>()) {
        const auto found = shortcuts.find(action->property("commandId").toInt());
        EXPECT_EQ(action->shortcuts(),
                  found == shortcuts.end() ? QList<QKeySequence>() : found->second)
            << action->text().toStdString();
    }
}

TEST(CMainFrame, APopupAsksTheViewForEveryItemBeforeItShows) {
    CMainFrame frame;
    FakeView view;
    view.enabled = {ID_PAGE_NEXT, ID_CLOSE, ID_ALWAYS_RELOAD_LAYOUT};
    view.checked = {ID_ALWAYS_RELOAD_LAYOUT};
    frame.SetCommandHandlers(view.Handlers());

    OpenAndClose(Popup(frame, "Navigation"));
    EXPECT_EQ(view.asked, (std::set<int>{ID_PAGE_PREVIOUS, ID_PAGE_NEXT, ID_PAGE_FIRST,
                                         ID_PAGE_LAST, ID_CLOSE}));
    EXPECT_FALSE(frame.MenuAction(ID_PAGE_PREVIOUS)->isEnabled());
    EXPECT_TRUE(frame.MenuAction(ID_PAGE_NEXT)->isEnabled());
    EXPECT_TRUE(frame.MenuAction(ID_CLOSE)->isEnabled());

    OpenAndClose(Popup(frame, "Settings"));
    EXPECT_TRUE(frame.MenuAction(ID_ALWAYS_RELOAD_LAYOUT)->isChecked());
    EXPECT_FALSE(frame.MenuAction(ID_COM_PORTS)->isEnabled());

    // The answers change with the view's state; the next opening follows them.
    view.enabled = {ID_COM_PORTS, ID_ALWAYS_RELOAD_LAYOUT};
    view.checked.clear();
    OpenAndClose(Popup(frame, "Settings"));
    EXPECT_FALSE(frame.MenuAction(ID_ALWAYS_RELOAD_LAYOUT)->isChecked());
    EXPECT_TRUE(frame.MenuAction(ID_COM_PORTS)->isEnabled());
    EXPECT_FALSE(frame.MenuAction(ID_PINGS)->isEnabled());
}

TEST(CMainFrame, ChoosingAnItemRunsItsCommandOnTheView) {
    CMainFrame frame;
    FakeView view;
    view.enabled = {ID_PAGE_LAST, ID_COM_PORTS};
    frame.SetCommandHandlers(view.Handlers());
    frame.MenuAction(ID_PAGE_LAST)->trigger();
    frame.MenuAction(ID_COM_PORTS)->trigger();
    EXPECT_EQ(view.run, (std::vector<int>{ID_PAGE_LAST, ID_COM_PORTS}));
    EXPECT_EQ(frame.MenuAction(12345), nullptr);
}

TEST(CMainFrame, ToolBarCarriesOneDisabledCutButton) {
    CMainFrame frame;
    const QList<QToolBar*> bars = frame.findChildren<QToolBar*>();
    ASSERT_EQ(bars.size(), 1);
    ASSERT_EQ(bars[0]->actions().size(), 1);
    QAction* cut = bars[0]->actions()[0];
    EXPECT_EQ(cut, frame.CutAction());
    EXPECT_FALSE(cut->isEnabled());
    EXPECT_EQ(cut->toolTip(), QStringLiteral("Cut"));
}

TEST(CMainFrame, TheViewStartsAtTheReferenceSizeAndTheWindowResizes) {
    CMainFrame frame;
    auto* view = new QWidget;
    frame.SetView(view);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->size() == QSize(240, 268); }, 2000))
        << view->width() << "x" << view->height();

    frame.resize(frame.size() + QSize(160, 40));
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->size() == QSize(400, 308); }, 2000))
        << view->width() << "x" << view->height();
}

} // namespace

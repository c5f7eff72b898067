#pragma once

#include <QMainWindow>
#include <QSize>

#include <functional>

class QAction;
class QMenu;

// What the menu asks before a pop-up opens and tells when an item is chosen; the view answers.
struct MenuCommandHandlers {
    std::function<bool(int commandId)> isEnabled;
    std::function<bool(int commandId)> isChecked;
    std::function<void(int commandId)> run;
};

// The main window: menu 128, the tool bar with its one Cut button (nothing handles it, so it
// stays disabled), and the view as central widget.
//
// Thread contract: GUI thread only.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    // The view's size when the window first shows: the reference screen.
    static constexpr QSize kInitialViewSize{240, 268};

    explicit CMainFrame(QWidget* parent = nullptr);

    void SetCommandHandlers(MenuCommandHandlers handlers);
    // Hosts the view; the frame takes ownership.
    void SetView(QWidget* view);

    // The menu item with this command id; null when there is none.
    QAction* MenuAction(int commandId) const;
    QAction* CutAction() const { return m_cut; }

protected:
    void showEvent(QShowEvent* event) override;
    // Closing the window ends the program, whatever message boxes are still up.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenu();
    void CreateToolBar();
    // Asks the handlers for the state of every item of the pop-up about to open.
    void UpdatePopup(QMenu* popup);
    void UpdateAllPopups();
    void RunCommand(int commandId);

    MenuCommandHandlers m_handlers;
    QAction* m_cut = nullptr;
    bool m_viewSized = false;
};

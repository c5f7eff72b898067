#include "app/main_frame.h"

#include "app/menu_resource.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

const char* const kCommandIdProperty = "commandId";

int CommandId(const QAction* action) {
    return action->property(kCommandIdProperty).toInt();
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    CreateMenu();
    CreateToolBar();
}

void CMainFrame::SetCommandHandlers(MenuCommandHandlers handlers) {
    m_handlers = std::move(handlers);
}

void CMainFrame::SetView(QWidget* view) {
    setCentralWidget(view);
    m_viewSized = false;
}

QAction* CMainFrame::MenuAction(int commandId) const {
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
        if (commandId != 0 && CommandId(action) == commandId)
            return action;
    }
    return nullptr;
}

// The layout has placed the central widget by now; grow or shrink the window by what the view
// lacks of the reference size. Later the window is the user's to resize.
void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_viewSized || !centralWidget())
        return;
    m_viewSized = true;
    resize(size() + (kInitialViewSize - centralWidget()->size()));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        QCoreApplication::quit();
}

void CMainFrame::CreateMenu() {
    menuBar()->setObjectName(QStringLiteral("menu128"));
    for (const MenuPopupResource& resource : Menu128()) {
        QMenu* popup = menuBar()->addMenu(QString::fromUtf8(resource.title));
        for (const MenuItemResource& item : resource.items) {
            if (!item.text) {
                popup->addSeparator();
                continue;
            }
            QAction* action = popup->addAction(QString::fromUtf8(item.text));
            action->setProperty(kCommandIdProperty, item.commandId);
            action->setCheckable(item.checkable);
            if (item.shortcuts)
                action->setShortcuts(QKeySequence::listFromString(item.shortcuts));
            const int commandId = item.commandId;
            connect(action, &QAction::triggered, this,
                    [this, commandId] { RunCommand(commandId); });
        }
        connect(popup, &QMenu::aboutToShow, this, [this, popup] { UpdatePopup(popup); });
    }
}

void CMainFrame::CreateToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Toolbar"));
    bar->setObjectName(QStringLiteral("toolbar128"));
    bar->setMovable(false);
    const QIcon icon = QIcon::fromTheme(QStringLiteral("edit-cut"));
    m_cut = bar->addAction(icon, QStringLiteral("Cut"));
    m_cut->setToolTip(QStringLiteral("Cut"));
    m_cut->setEnabled(false);
    bar->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
}

void CMainFrame::UpdatePopup(QMenu* popup) {
    for (QAction* action : popup->actions()) {
        const int commandId = CommandId(action);
        if (commandId == 0)
            continue;
        action->setEnabled(m_handlers.isEnabled && m_handlers.isEnabled(commandId));
        if (action->isCheckable())
            action->setChecked(m_handlers.isChecked && m_handlers.isChecked(commandId));
    }
}

void CMainFrame::UpdateAllPopups() {
    for (QMenu* popup : menuBar()->findChildren<QMenu*>())
        UpdatePopup(popup);
}

// A shortcut works only while its item is enabled, so the items follow every command at once
// and not only when their pop-up opens.
void CMainFrame::RunCommand(int commandId) {
    if (m_handlers.run)
        m_handlers.run(commandId);
    UpdateAllPopups();
}

#pragma once

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>

class QLabel;
class QPushButton;

namespace ksv::qt {

// Window styles the controls use; the values are those a device's layout and flags speak of.
inline constexpr uint32_t kStyleBorder = 0x00800000;
inline constexpr uint32_t kStyleDisabled = 0x08000000;
inline constexpr uint32_t kStyleVScroll = 0x00200000;
inline constexpr uint32_t kStaticCentre = 0x1;
inline constexpr uint32_t kStaticRight = 0x2;
inline constexpr uint32_t kStaticNoPrefix = 0x80;

// Notification codes passed to CommandTarget::OnCommand.
inline constexpr int kNotifyClicked = 0;
inline constexpr int kNotifyEditChange = 0x0300;
inline constexpr int kNotifySelChange = 1;

// The parent of control windows: receives their notifications, identified by window id.
// Thread contract: GUI thread only.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    virtual void OnCommand(int windowId, int notifyCode, QWidget* source) = 0;
};

// Owns one child window. The parent may already have destroyed it (the QPointer then reads
// null), so the owner and the parent can go away in either order.
template <typename T> class OwnedWindow {
public:
    OwnedWindow() = default;
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;
    ~OwnedWindow() { Reset(); }

    void Reset(T* window = nullptr) {
        if (m_window != nullptr && m_window != window) {
            delete m_window.data();
        }
        m_window = window;
    }
    T* get() const { return m_window.data(); }
    T* operator->() const { return m_window.data(); }
    explicit operator bool() const { return m_window != nullptr; }

private:
    QPointer<T> m_window;
};

// Window id of a child window; 0 when it has none.
int WindowId(const QWidget* window);
uint32_t WindowStyle(const QWidget* window);

// Creation, at the provisional rectangle (10, 10)-(20, 20), hidden until shown.
// A push button's clicks reach the parent's CommandTarget with its id.
QLabel* CreateStatic(QWidget* parent, const QString& text, uint32_t style, int id);
QPushButton* CreatePushButton(QWidget* parent, const QString& text, uint32_t style, int id);

// Replaces the style bits in `remove` by those in `add` and applies the result.
void ModifyStyle(QWidget* window, uint32_t remove, uint32_t add);
void MoveWindow(QWidget* window, int x, int y, int width, int height);
void ShowWindow(QWidget* window, bool visible);
void EnableWindow(QWidget* window, bool enabled);
void SetWindowText(QWidget* window, const QString& text);
QString GetWindowText(const QWidget* window);
// A control's colours: text on a solid background.
void SetWindowColours(QWidget* window, QColor text, QColor background);

// 0x00BBGGRR as used on the wire.
QColor ColourFromRef(uint32_t colourRef);

} // namespace ksv::qt

#pragma once

#include <QColor>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>

class QAbstractItemModel;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;
class QTableView;
class QTimeEdit;

namespace ksv::qt {

// Window styles the controls use; the values are those a device's layout and flags speak of.
inline constexpr uint32_t kStyleBorder = 0x00800000;
inline constexpr uint32_t kStyleDisabled = 0x08000000;
inline constexpr uint32_t kStyleVScroll = 0x00200000;
inline constexpr uint32_t kStaticCentre = 0x1;
inline constexpr uint32_t kStaticRight = 0x2;
inline constexpr uint32_t kStaticNoPrefix = 0x80;
inline constexpr uint32_t kEditRight = 0x2;
inline constexpr uint32_t kEditPassword = 0x20;
inline constexpr uint32_t kEditAutoHScroll = 0x80;

// Notification codes passed to CommandTarget::OnCommand.
inline constexpr int kNotifyClicked = 0;
inline constexpr int kNotifyEditChange = 0x0300;
// Enter (Return) was pressed in an edit.
inline constexpr int kNotifyEditEnter = 0x0301;
inline constexpr int kNotifySelChange = 1;
inline constexpr int kNotifyPickerChange = -759;
// A slider was moved by a step or let go; never sent while its thumb is dragged.
inline constexpr int kNotifyScrolled = 0x0114;

// The parent of control windows: receives their notifications, identified by window id.
// Only the user's own changes notify; changes the program makes through the setters below do
// not. Thread contract: GUI thread only.
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

// Creation, at the provisional rectangle (10, 10)-(20, 20), hidden until shown. Buttons, check
// boxes and drop-down lists take the panel's flat look (PanelStyle) and the focus by Tab. Each
// window's user changes reach the parent's CommandTarget with its id: clicks of buttons and check
// boxes, edits, selections of lists, picker changes, slider steps and releases.
QLabel* CreateStatic(QWidget* parent, const QString& text, uint32_t style, int id);
QPushButton* CreatePushButton(QWidget* parent, const QString& text, uint32_t style, int id);
QCheckBox* CreateCheckBox(QWidget* parent, const QString& text, uint32_t style, int id);
QLineEdit* CreateEdit(QWidget* parent, const QString& text, uint32_t style, int id);
QComboBox* CreateDropDownList(QWidget* parent, const QStringList& items, uint32_t style, int id);
QListWidget* CreateListBox(QWidget* parent, const QStringList& items, uint32_t style, int id);
QDateEdit* CreateDatePicker(QWidget* parent, uint32_t style, int id);
QTimeEdit* CreateTimePicker(QWidget* parent, uint32_t style, int id);
QSlider* CreateSlider(QWidget* parent, uint32_t style, int id);
// A read-only report view of `model` (which must outlive it), without row headers.
QTableView* CreateReportView(QWidget* parent, QAbstractItemModel* model, uint32_t style, int id);
// A window made elsewhere becomes a child window like the others; a button's clicks notify.
void AdoptWindow(QWidget* window, uint32_t style, int id);

// Replaces the style bits in `remove` by those in `add` and applies the result.
void ModifyStyle(QWidget* window, uint32_t remove, uint32_t add);
void MoveWindow(QWidget* window, int x, int y, int width, int height);
void ShowWindow(QWidget* window, bool visible);
void EnableWindow(QWidget* window, bool enabled);
// Labels and buttons show their text as far as it fits: a button's caption in the same face
// down to two thirds of its size, then elided with "…"; a label's on as many wrapped lines as
// fit, the last elided. The whole text is then the tooltip. "&" is never a shortcut marker.
// MoveWindow, SetWindowFont and SetWindowText keep the text fitted.
void SetWindowText(QWidget* window, const QString& text);
// The whole text, as set, not as shown.
QString GetWindowText(const QWidget* window);
void SetWindowFont(QWidget* window, const QFont& font);
// A control's colours: text on a solid background.
void SetWindowColours(QWidget* window, QColor text, QColor background);

// The program's own changes; none of them notifies the parent.
void SetCheck(QCheckBox* box, bool checked);
void SetEditLimit(QLineEdit* edit, int characters);
// -1 selects nothing; an index past the items too.
void SetListSelection(QWidget* list, int index);
int GetListSelection(const QWidget* list); // -1 when nothing is selected
// A list box's selection becomes its top item.
void ScrollToSelection(QWidget* list);
// Invalid dates and times leave the picker as it was.
void SetPickerDate(QDateEdit* picker, int year, int month, int day);
void SetPickerTime(QTimeEdit* picker, int hour, int minute, int second);
void SetSliderRange(QSlider* slider, int minimum, int maximum, int position);

// 0x00BBGGRR as used on the wire.
QColor ColourFromRef(uint32_t colourRef);

} // namespace ksv::qt

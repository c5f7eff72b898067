#pragma once

#include "charts/matrix_data.h"
#include "controls/control_kind.h"
#include "controls/ctrl_geometry.h"
#include "controls/ctrl_host.h"
#include "controls/packed_date_time.h"
#include "link/control_flags.h"
#include "link/panel_store.h"
#include "platform/qt/child_window.h"

#include <QBrush>
#include <QDialog>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct AppearanceContext;
class CMomentaryButton;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPainter;
class QPushButton;
class QSlider;
class QTableView;
class QTimeEdit;

namespace ksv {
class ErrorReporter;
class Link;
class PictureBudget;
class MatrixTableModel;
} // namespace ksv

using ksv::kFlagDisabled;
using ksv::kFlagEditable;
using ksv::kFlagHidden;
using ksv::kFlagNewRow;
using ksv::kFlagTurnToPage;

// Default size of a control and of the view's small buttons.
inline constexpr int kStandardWidth = 117;
inline constexpr int kStandardHeight = 57;

// What the control needs of the rest of the program: the link (store and sending), the error
// report and the view that holds it. All outlive every control.
struct CtrlServices {
    ksv::Link* link = nullptr;
    ksv::ErrorReporter* reporter = nullptr;
    CtrlHost* host = nullptr;
    ksv::PictureBudget* pictures = nullptr; // the panel's decoded pixels; none: no budget
};

// Text colour and background a child window of the control is drawn with.
struct CtlColour {
    QColor text;
    QColor brush;
};

// The fields of each kind; only the control's own kind's carry meaning.
struct TextFields {
    uint32_t m_nMaxLen = 0; // from the device, bytes when the sizes count bytes
};

struct LatchFields {
    uint32_t m_nLatchGroup = 0; // 0: not in a group
    ksv::qt::OwnedWindow<QCheckBox> m_pCheck;
    ksv::qt::OwnedWindow<CMomentaryButton> m_pMomentary;
};

struct DateTimeFields {
    ksv::PackedDateTime m_dateTime;
    bool m_bShowDate = false;
    bool m_bShowTime = false;
    bool m_bShowWeekday = false;
    ksv::qt::OwnedWindow<QDateEdit> m_pDatePicker;
    ksv::qt::OwnedWindow<QTimeEdit> m_pTimePicker;
    QPointer<QDialog> m_pDateTimeDlg;
};

struct NumberFields {
    int32_t m_value = 0; // raw; shown as m_value x 10^m_exponent
    int32_t m_max = 0;
    int32_t m_min = 0;
    int8_t m_exponent = 0;
    int8_t m_decimals = 0;
    int32_t m_nZeroFill = 0; // per-device zero-fill width, read when the control is made
    ksv::qt::OwnedWindow<QPushButton> m_pMinus; // "-", or "OK" beside the edit
    ksv::qt::OwnedWindow<QPushButton> m_pPlus;
    ksv::qt::OwnedWindow<QSlider> m_pSlider;
    ksv::qt::OwnedWindow<QLabel> m_pValueWnd2; // the bar
    QPointer<QDialog> m_pNumberDlg;
};

struct MatrixFields {
    MatrixFields();
    ~MatrixFields();
    ksv::MatrixData m_data; // the chart window and the dialog read it
    ksv::qt::OwnedWindow<QWidget> m_pChartWnd;
    std::unique_ptr<ksv::MatrixTableModel> m_tableModel; // outlives the table: declared before it
    ksv::qt::OwnedWindow<QTableView> m_pTableWnd;
    uint32_t m_nTableRows = 0;
    QFont m_tableFont;
    QPointer<QDialog> m_pChartDlg;
};

struct PasswordFields {
    QPointer<QDialog> m_pPasswordDlg;
};

struct ListFields {
    uint32_t m_nListCount = 0; // items the control holds
    int32_t m_nListSel = -1;
    ksv::qt::OwnedWindow<QListWidget> m_pListBox;
};

struct BlobFields {
    std::vector<uint8_t> m_pBlobData; // m_nBlobSize bytes
    uint32_t m_nBlobLen = 0;
    uint32_t m_nBlobSize = 0;
};

struct FileFields {
    bool m_bFileRequested = false; // asked for and not arrived yet
};

struct ImageFields {
    bool m_bImageShown = false;   // visible, drawn by the view
    bool m_bImagePressed = false; // drawn 2 pixels right and down
    QImage m_pImageBitmap;        // the rows decoded; null when none were
    bool m_bRefused = false;      // too large to show: drawn crossed out
    int32_t m_nImageWidth = 0;
    int32_t m_nImageHeight = 0;
    int32_t m_nImageHAlign = 0; // placement modes 0..4
    int32_t m_nImageVAlign = 0;
};

// One on-screen control, built from one ControlRecord of the store. It owns its child windows
// (children of the view), fonts, brush and copies of the device's data.
//
// Thread contract: GUI thread only. The creators and updates read data the view took from the
// store under its lock; input sends through the link, which takes the lock itself.
class CCtrl {
public:
    CCtrl();
    ~CCtrl();
    CCtrl(const CCtrl&) = delete;
    CCtrl& operator=(const CCtrl&) = delete;

    // Window ids of panel controls: one counter, restarted per panel, the first id is 15001.
    static void ResetWindowIds();
    static int NextWindowId();

    // Common initialisation, run for every record before its kind's creator.
    void InitFromRecord(const ksv::ControlHeader& header, QWidget* parent,
                        const CtrlServices& services, int width = kStandardWidth,
                        int height = kStandardHeight);
    // One of the view's own buttons; the view then runs CreateButton.
    void InitViewButton(int windowId, const QString& caption, QWidget* parent, bool bold, int width,
                        int height, const CtrlServices& services);

    // Creators: each runs once on an initialised Unsupported record, with the kind's data.
    void CreateUnsupported();
    void CreateButton();
    void CreateText(uint32_t maxLen, const QString& text);
    void CreateLatch(uint32_t group, uint8_t state);
    void CreateSection(uint8_t state);
    void CreateDateTime(const QString& format, const ksv::PackedDateTime& value);
    void CreateNumber(int32_t maximum, int32_t minimum, int8_t decimals, int8_t exponent,
                      const QString& templ, int32_t value);
    void CreateMatrix(const ksv::ControlDetails& details, uint32_t cursorWord,
                      const std::vector<uint8_t>& cells, const std::vector<uint8_t>& textPart);
    void CreatePassword(uint8_t state);
    void CreateList(uint32_t count, const std::u16string& items, int32_t selected);
    void CreateMessageBox(const QString& text);
    void CreateBlob(uint32_t size, const std::vector<uint8_t>& data, uint32_t length);
    void CreateFile();
    void CreateImage(const std::vector<uint8_t>& gif);

    void Place();
    void Show(bool visible);
    void Enable(bool enabled);
    void SetFont(int height, bool bold);
    void SetLabelFont(int height, bool bold);
    bool OwnsWindow(const QWidget* window) const;
    CtlColour OnCtlColor(const QWidget* window) const;
    // Gives the windows on screen their colours again (after a state or colour change); the
    // others get theirs when shown. hiddenToo: every window.
    void ApplyColours(bool hiddenToo = false);
    // Draws an Image control (nothing for the other kinds).
    void PaintImage(QPainter& painter) const;
    // Asks dialogs still open for this control to close.
    void CloseDialogs();

    // A control built without a parent has its fields but no windows (a large panel's control
    // whose page is far from the one shown). MakeWindows gives it its windows under parent:
    // create runs its kind's creator again with the store's current data; what the layout set
    // is kept, and the windows are placed. DropWindows frees them again, unless a dialog of the
    // control is open or one of its windows has the focus (false then).
    bool HasWindows() const { return m_pParent != nullptr; }
    void MakeWindows(QWidget* parent, const std::function<void(CCtrl&)>& create);
    bool DropWindows();

    // Input.
    void OnClicked(QWidget* window);
    void OnEditChange();
    // Enter in an edit does what the control's "OK" does, where its appearance shows one.
    void OnEditEnter();
    void OnSelChange(QWidget* window);
    void OnPickerChange(QWidget* window);
    void OnSliderMoved();
    void OnMomentaryDown();
    void OnMomentaryUp();
    void OnFileArrived(const QString& path);
    // An Image tap: pressed (reported to the device) or released.
    void SetImagePressed(bool pressed, bool report);
    // Puts up a MessageBox's message unless it has been shown.
    void StartMessageBox();

    // Device updates: a new value read from the store, a new flags word and colour, new rows.
    void UpdateValue(const std::vector<uint8_t>& value);
    void UpdateStyle(uint32_t flags, uint32_t colour);
    void UpdateMatrix(uint32_t cursorWord, const std::vector<uint8_t>& cells,
                      const std::vector<uint8_t>& textPart);
    void FillTable();

    // What the full-screen dialogs give back when the user accepts them.
    void TakeDialogDateTime(const ksv::PackedDateTime& value);
    void TakeDialogNumber(int32_t value);

    QString GetKindName(int appearance) const;
    int GetAppearanceCount() const;
    // The appearance shown: m_appearance when the kind has it, else 0.
    int Appearance() const;
    // The highest appearance index the kind can show, offered or not.
    int LastAppearance() const;
    bool IsShown() const { return (m_flags & kFlagHidden) == 0; }
    bool IsEditable() const { return (m_flags & kFlagEditable) != 0; }
    QString ListName() const;
    // The second placement applies: an open Section or a logged-in Password.
    bool UsesOpenPlacement() const;
    int EffectivePage() const { return UsesOpenPlacement() ? m_pageOpen : m_page; }
    // The rectangle in use, label included.
    CtrlRect Rect() const;

    // Common fields. Window pointers are owned.
    std::unique_ptr<QFont> m_pLabelFont;
    ksv::qt::OwnedWindow<QLabel> m_pLabelWnd;
    bool m_bShowLabel = false;
    bool m_bBorder = false;
    int32_t m_nAlign = 0; // read-only Text and Number: 0 left, 1 centre, 2 right
    int32_t m_appearance = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    bool m_bLabelBold = true;
    int32_t m_nFontHeight = 20;
    bool m_bFontBold = false;
    int32_t m_x = 0;
    int32_t m_y = 0;
    int32_t m_page = 0; // -1: every page
    int32_t m_pageOpen = 0;
    int32_t m_widthOpen = 0;
    int32_t m_heightOpen = 0;
    int32_t m_xOpen = 0;
    int32_t m_yOpen = 0;
    uint32_t m_flags = 0;
    ControlKind m_kind = ControlKind::Unsupported;
    uint32_t m_windowId = 0;
    uint32_t m_deviceId = 0;
    uint8_t m_state = 0; // Latch on, Section open, Password logged in
    uint32_t m_colour = 0xC0C0C0;
    std::unique_ptr<QBrush> m_hBrush;
    int32_t m_nDropHeight = 117; // drop-down lists (List, DateTime weekday)
    bool m_bAutoPlace = true;
    int32_t m_nLabelFontHeight = 12; // defined before the first label font is made
    QString m_text;                  // Text value, MessageBox message, "???"
    QString m_caption;
    QString m_format; // DateTime format, Number template
    QWidget* m_pParent = nullptr;
    std::unique_ptr<QFont> m_pFont;
    ksv::qt::OwnedWindow<QPushButton> m_pButton;
    ksv::qt::OwnedWindow<QLabel> m_pValueWnd;
    ksv::qt::OwnedWindow<QLineEdit> m_pEdit;
    ksv::qt::OwnedWindow<QComboBox> m_pCombo; // List drop-down, DateTime weekday

    // By kind.
    TextFields m_textEntry;
    LatchFields m_latch;
    DateTimeFields m_date;
    NumberFields m_number;
    MatrixFields m_matrix;
    PasswordFields m_password;
    ListFields m_list;
    BlobFields m_blob;
    FileFields m_file;
    ImageFields m_image;

private:
    // Every window the control has, label first; null entries for windows it lacks.
    std::vector<QWidget*> Windows() const;
    // The kind's own windows, the label excluded.
    std::vector<QWidget*> KindWindows() const;
    // The windows Show makes visible for the current appearance.
    std::vector<QWidget*> ShownWindows() const;
    AppearanceContext AppearanceContextOf() const;
    bool BeginCreate(ControlKind kind);
    void CreateLabel(uint32_t style);
    void FinishCreate();
    void RemakeBrush();
    void ReportInternalError(long line) const;
    // Windows carry the view's routing; an id of 0 marks a window that sends nothing.
    int NextChildId() const;
    CtrlFrame Frame() const;
    void PlaceBody(QWidget* window, const CtrlFrame& frame);
    void PlaceRect(QWidget* window, const CtrlRect& rect);
    // Writes a value into the store and sends every changed value.
    void SendValue(const void* data, uint32_t size);
    ksv::PanelStore* Store() const;
    CtlColour Normal() const;
    CtlColour Inverted() const;
    bool IsDark() const;

    // By kind (ctrl_<kind>.cpp).
    void PlaceText(const CtrlFrame& f);
    void PlaceDateTime(const CtrlFrame& f);
    void PlaceNumber(const CtrlFrame& f);
    void PlacePassword(const CtrlFrame& f);
    void PlaceList(const CtrlFrame& f);
    void PlaceMatrix(const CtrlFrame& f);
    std::vector<QWidget*> ShownText() const;
    std::vector<QWidget*> ShownLatch() const;
    std::vector<QWidget*> ShownDateTime() const;
    std::vector<QWidget*> ShownNumber() const;
    std::vector<QWidget*> ShownMatrix() const;
    std::vector<QWidget*> ShownPassword() const;
    std::vector<QWidget*> ShownList() const;
    CtlColour ColourText(const QWidget* window) const;
    CtlColour ColourLatch() const;
    CtlColour ColourDateTime() const;
    CtlColour ColourNumber(const QWidget* window) const;
    CtlColour ColourPassword(const QWidget* window) const;
    void ClickButton();
    void ClickText();
    void ClickLatch();
    void ClickSection();
    void ClickDateTime();
    void ClickNumber(QWidget* window);
    void ClickMatrix();
    void ClickPassword();
    void ClickBlob();
    void ClickFile();
    void UpdateText(const std::vector<uint8_t>& value);
    void UpdateLatch(const std::vector<uint8_t>& value);
    void UpdateDateTime(const std::vector<uint8_t>& value);
    void UpdateNumber(const std::vector<uint8_t>& value);
    void UpdateList(const std::vector<uint8_t>& value);
    void UpdateBlob(const std::vector<uint8_t>& value);
    void SetLatchState(uint8_t state);
    void ShowDateTime();
    void TakeWeekday();
    QString NumberText(int32_t value, bool bare) const;
    void ShowNumber(bool editToo);
    void ShowNumberEdit();
    void SelectListItem(int index);
    void OpenDateTimeDialog();
    void OpenNumberDialog();
    void OpenPasswordDialog();
    void OpenMatrixDialog();
    void OpenUrl(const QUrl& url) const;
    // A dialog already open for the control comes to the front instead of a second one.
    bool RaiseDialog(const QPointer<QDialog>& slot) const;
    // Opens a full-screen dialog without blocking; `accepted` runs when the user accepts it,
    // unless the control is gone by then.
    void ShowDialog(QPointer<QDialog>& slot, QDialog* dialog,
                    std::function<void(QDialog*)> accepted);
    QString ListNameOfPickers() const;
    QString ListNameOfItems() const;

    CtrlServices m_services;
    // The receiver of the dialogs' signals: destroyed first, so none reaches a dead control.
    std::unique_ptr<QObject> m_dialogContext;
};

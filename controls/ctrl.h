#pragma once

#include "link/panel_store.h"
#include "platform/qt/child_window.h"

#include <QBrush>
#include <QDialog>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;

namespace ksv {
class ErrorReporter;
class Link;
} // namespace ksv

// The control's own kind numbering; 1 is never used.
enum class ControlKind : uint32_t {
    Unsupported = 0,
    Button = 2,
    Text = 3,
    Latch = 4,
    Section = 5,
    DateTime = 6,
    Number = 7,
    Matrix = 8,
    Password = 9,
    List = 10,
    MessageBox = 11,
    Blob = 12,
    File = 13,
    Image = 14,
};

// The ControlKind a record of the store's kind becomes; none for 0 and 15 and above.
std::optional<ControlKind> ControlKindFromRecordKind(uint32_t recordKind);

// Flags bits shared by every kind.
inline constexpr uint32_t kFlagHidden = 0x00000001;
inline constexpr uint32_t kFlagByteSizes = 0x00000004;
inline constexpr uint32_t kFlagNewRow = 0x00000008;
inline constexpr uint32_t kFlagTurnToPage = 0x00000010;
inline constexpr uint32_t kFlagDisabled = 0x00000080;
inline constexpr uint32_t kFlagEditable = 0x00010000;

// Default size of a control and of the view's small buttons.
inline constexpr int kStandardWidth = 117;
inline constexpr int kStandardHeight = 57;

// What the control needs of the rest of the program: the link (store and sending) and the
// error report. Both outlive every control.
struct CtrlServices {
    ksv::Link* link = nullptr;
    ksv::ErrorReporter* reporter = nullptr;
};

// Text colour and background a child window of the control is drawn with.
struct CtlColour {
    QColor text;
    QColor brush;
};

// One on-screen control, built from one ControlRecord of the store. It owns its child windows
// (children of the view), fonts, brush and copies of the device's data.
//
// Thread contract: GUI thread only. The creators and refreshes read the store; the view holds
// the store lock around them.
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

    // Creators: each runs once on an initialised Unsupported record.
    void CreateUnsupported();
    void CreateButton();

    void Place();
    void Show(bool visible);
    void Enable(bool enabled);
    void SetFont(int height, bool bold);
    void SetLabelFont(int height, bool bold);
    bool OwnsWindow(const QWidget* window) const;
    CtlColour OnCtlColor(const QWidget* window) const;
    // Gives every window its colours again (after a state or colour change).
    void ApplyColours();
    // Asks dialogs still open for this control to close.
    void CloseDialogs();

    // Input.
    void OnClicked(QWidget* window);

    // Device updates: a new value read from the store, and a new flags word and colour.
    void UpdateValue(const std::vector<uint8_t>& value);
    void UpdateStyle(uint32_t flags, uint32_t colour);

    QString GetKindName(int appearance) const;
    int GetAppearanceCount() const;
    bool IsShown() const { return (m_flags & kFlagHidden) == 0; }
    QString ListName() const;
    // The second placement applies: an open Section or a logged-in Password.
    bool UsesOpenPlacement() const;
    int EffectivePage() const { return UsesOpenPlacement() ? m_pageOpen : m_page; }

    // Fields, in the order of the control record. Window pointers are owned.
    ksv::qt::OwnedWindow<QWidget> m_pChartWnd;
    ksv::qt::OwnedWindow<QWidget> m_pTableWnd;
    uint32_t m_nTableRows = 0;
    bool m_bImageShown = false;
    bool m_bImagePressed = false;
    std::unique_ptr<QImage> m_pImageBitmap; // decoded picture; painted straight from it
    int32_t m_nImageWidth = 0;
    int32_t m_nImageHeight = 0;
    int32_t m_nImageHAlign = 0;
    int32_t m_nImageVAlign = 0;
    int32_t m_nAlign = 0;
    std::unique_ptr<QFont> m_pLabelFont;
    ksv::qt::OwnedWindow<QLabel> m_pLabelWnd;
    bool m_bShowLabel = false;
    bool m_bBorder = false;
    uint32_t m_nIgnoreEditChanges = 0;
    int32_t m_appearance = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    bool m_bLabelBold = true;
    int32_t m_nFontHeight = 20;
    bool m_bFontBold = false;
    int32_t m_x = 0;
    int32_t m_y = 0;
    int32_t m_page = 0;
    int32_t m_pageOpen = 0;
    int32_t m_widthOpen = 0;
    int32_t m_heightOpen = 0;
    int32_t m_xOpen = 0;
    int32_t m_yOpen = 0;
    std::array<int32_t, 4> m_comboCache{-1, -1, -1, -1};
    uint32_t m_flags = 0;
    ControlKind m_kind = ControlKind::Unsupported;
    uint32_t m_windowId = 0;
    uint32_t m_deviceId = 0;
    uint8_t m_state = 0;
    int32_t m_value = 0;
    int32_t m_max = 0;
    int32_t m_min = 0;
    int8_t m_exponent = 0;
    int8_t m_decimals = 0;
    // Matrix data.
    int8_t m_xExponent = 0;
    int8_t m_xDecimals = 0;
    int8_t m_yExponent = 0;
    int8_t m_yDecimals = 0;
    std::vector<uint8_t> m_pXData;
    std::vector<uint8_t> m_pYData;
    uint32_t m_nCapacity = 0;
    uint32_t m_nSeries = 0;
    uint32_t m_nYDataSize = 0;
    uint32_t m_nXDataSize = 0;
    QString m_xTemplate;
    QString m_yTemplate;
    QString m_xTitle;
    std::u16string m_pSeriesNames;
    uint32_t m_colour = 0xC0C0C0;
    std::unique_ptr<QBrush> m_hBrush;
    QPointer<QDialog> m_pChartDlg;
    QPointer<QDialog> m_pPasswordDlg;
    QPointer<QDialog> m_pDateTimeDlg;
    QPointer<QDialog> m_pNumberDlg;
    uint32_t m_nListCount = 0;
    int32_t m_nListSel = 0;
    int32_t m_nDropHeight = 117;
    uint32_t m_nMaxLen = 0;
    std::vector<uint8_t> m_pBlobData;
    uint32_t m_nBlobLen = 0;
    uint32_t m_nBlobSize = 0;
    bool m_bFileRequested = false;
    bool m_bAutoPlace = true;
    int32_t m_nLabelFontHeight = 12; // defined before the first label font is made
    ksv::qt::OwnedWindow<QPushButton> m_pButton;
    ksv::qt::OwnedWindow<QWidget> m_pCheck;
    ksv::qt::OwnedWindow<QWidget> m_pMomentary;
    ksv::qt::OwnedWindow<QWidget> m_pMinus;
    ksv::qt::OwnedWindow<QWidget> m_pPlus;
    uint32_t m_nLatchGroup = 0;
    ksv::qt::OwnedWindow<QWidget> m_pDatePicker;
    ksv::qt::OwnedWindow<QWidget> m_pTimePicker;
    QString m_text;
    QString m_caption;
    int32_t m_nPoints = 0;
    std::array<uint8_t, 8> m_dateTime{};
    QWidget* m_pParent = nullptr;
    bool m_bShowDate = false;
    bool m_bShowTime = false;
    bool m_bShowWeekday = false;
    QString m_format;
    ksv::qt::OwnedWindow<QLabel> m_pValueWnd;
    ksv::qt::OwnedWindow<QWidget> m_pEdit;
    std::unique_ptr<QFont> m_pFont;
    QFont m_tableFont;
    ksv::qt::OwnedWindow<QWidget> m_pCombo;
    ksv::qt::OwnedWindow<QWidget> m_pListBox;
    ksv::qt::OwnedWindow<QWidget> m_pValueWnd2;
    ksv::qt::OwnedWindow<QWidget> m_pSlider;

private:
    // Every window the control has, label first; null entries for windows it lacks.
    std::vector<QWidget*> Windows() const;
    // The kind's own windows, the label excluded.
    std::vector<QWidget*> KindWindows() const;
    bool BeginCreate(ControlKind kind);
    void OnButtonClicked(QWidget* window);
    void CreateLabel(uint32_t style);
    void RemakeBrush();
    void ReportInternalError(long line) const;
    // Windows carry the view's routing; an id of 0 marks a window that sends nothing.
    int NextChildId() const;

    CtrlServices m_services;
};

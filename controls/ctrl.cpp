#include "controls/ctrl.h"

#include "link/link.h"
#include "platform/error_reporter.h"
#include "resources/resource_ids.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

int g_windowIdCounter = kFirstControlWindowId;

bool IsKnownKind(ControlKind kind) {
    const auto value = static_cast<uint32_t>(kind);
    return value <= 14 && value != 1;
}

QFont MakeFont(int height, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif); // the swiss family where Arial is missing
    font.setPixelSize(std::max(1, height));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

void ApplyFont(QWidget* window, const QFont& font) {
    if (window != nullptr && window->font() != font) {
        window->setFont(font);
    }
}

} // namespace

std::optional<ControlKind> ControlKindFromRecordKind(uint32_t recordKind) {
    static constexpr ControlKind kTable[] = {
        ControlKind::Unsupported, // 0: not a kind
        ControlKind::Text,        ControlKind::Button,   ControlKind::Latch,
        ControlKind::Section,     ControlKind::DateTime, ControlKind::Number,
        ControlKind::Matrix,      ControlKind::Password, ControlKind::List,
        ControlKind::MessageBox,  ControlKind::Blob,     ControlKind::File,
        ControlKind::Unsupported, ControlKind::Image,
    };
    if (recordKind == 0 || recordKind >= std::size(kTable)) {
        return std::nullopt;
    }
    return kTable[recordKind];
}

CCtrl::CCtrl() : m_tableFont(MakeFont(14, false)) {}

CCtrl::~CCtrl() = default;

void CCtrl::ResetWindowIds() {
    g_windowIdCounter = kFirstControlWindowId;
}

int CCtrl::NextWindowId() {
    return ++g_windowIdCounter;
}

void CCtrl::InitFromRecord(const ksv::ControlHeader& header, QWidget* parent,
                           const CtrlServices& services, int width, int height) {
    m_services = services;
    m_kind = ControlKind::Unsupported;
    m_deviceId = header.id;
    m_windowId = static_cast<uint32_t>(NextWindowId());
    m_flags = header.flags;
    m_colour = header.colour;
    RemakeBrush();
    m_state = 0;
    m_comboCache = {-1, -1, -1, -1};
    m_caption = QString::fromStdU16String(header.caption);
    // A caption may carry the terminator the device counted; it is not shown.
    const auto end = m_caption.indexOf(QChar(0));
    if (end >= 0) {
        m_caption.truncate(end);
    }
    m_nFontHeight = 20;
    m_pParent = parent;
    m_width = width;
    m_height = height;
    SetFont(20, m_bFontBold);
    SetLabelFont(m_nLabelFontHeight, m_bLabelBold);
}

void CCtrl::InitViewButton(int windowId, const QString& caption, QWidget* parent, bool bold,
                           int width, int height, const CtrlServices& services) {
    m_services = services;
    m_kind = ControlKind::Unsupported;
    m_deviceId = 0;
    m_flags = 0;
    m_windowId = static_cast<uint32_t>(windowId);
    m_state = 0;
    m_bFontBold = bold;
    RemakeBrush();
    m_nFontHeight = 20;
    m_caption = caption;
    m_width = m_widthOpen = width;
    m_height = m_heightOpen = height;
    m_x = m_y = m_page = m_pageOpen = m_xOpen = m_yOpen = m_appearance = 0;
    m_pParent = parent;
    SetFont(20, bold);
    SetLabelFont(m_nLabelFontHeight, m_bLabelBold);
}

void CCtrl::RemakeBrush() {
    m_hBrush = std::make_unique<QBrush>(ksv::qt::ColourFromRef(m_colour));
}

void CCtrl::ReportInternalError(long line) const {
    if (m_services.reporter != nullptr) {
        m_services.reporter->ReportError(line, ksv::kCtrlModule, 0);
    }
}

int CCtrl::NextChildId() const {
    // The view's own buttons lie below the panel's ids; their labels take none from the
    // panel's counter so that the panel's numbering stays unique.
    if (m_windowId <= static_cast<uint32_t>(kFirstControlWindowId)) {
        return 0;
    }
    return NextWindowId();
}

bool CCtrl::BeginCreate(ControlKind kind) {
    const bool fresh =
        m_kind == ControlKind::Unsupported && !m_pLabelWnd && !m_pValueWnd && !m_pButton;
    if (!fresh) {
        ReportInternalError(__LINE__);
    }
    m_kind = kind;
    m_bShowLabel = false;
    m_bBorder = false;
    return fresh;
}

void CCtrl::CreateLabel(uint32_t style) {
    if (m_pParent == nullptr) {
        return;
    }
    m_pLabelWnd.Reset(ksv::qt::CreateStatic(m_pParent, m_caption, style, NextChildId()));
    if (m_pLabelFont) {
        ApplyFont(m_pLabelWnd.get(), *m_pLabelFont);
    }
}

std::vector<QWidget*> CCtrl::KindWindows() const {
    return {m_pValueWnd.get(), m_pButton.get(),   m_pCheck.get(),      m_pMomentary.get(),
            m_pMinus.get(),    m_pPlus.get(),     m_pDatePicker.get(), m_pTimePicker.get(),
            m_pEdit.get(),     m_pCombo.get(),    m_pListBox.get(),    m_pValueWnd2.get(),
            m_pSlider.get(),   m_pChartWnd.get(), m_pTableWnd.get()};
}

std::vector<QWidget*> CCtrl::Windows() const {
    std::vector<QWidget*> windows = KindWindows();
    windows.insert(windows.begin(), m_pLabelWnd.get());
    return windows;
}

bool CCtrl::UsesOpenPlacement() const {
    return (m_kind == ControlKind::Section || m_kind == ControlKind::Password) && m_state != 0;
}

void CCtrl::Place() {
    if (!IsKnownKind(m_kind)) {
        ReportInternalError(__LINE__);
        return;
    }
    const int labelHeight = m_bShowLabel ? m_nLabelFontHeight : 0;
    const bool open = UsesOpenPlacement();
    const int x = open ? m_xOpen : m_x;
    const int y = open ? m_yOpen : m_y;
    const int w = open ? m_widthOpen : m_width;
    const int h = open ? m_heightOpen : m_height;
    const bool disabled = (m_flags & kFlagDisabled) != 0;

    if (QWidget* label = m_pLabelWnd.get()) {
        ksv::qt::MoveWindow(label, x, y, w, m_nLabelFontHeight);
        if (disabled) {
            ksv::qt::ModifyStyle(label, 0, ksv::qt::kStyleDisabled);
        }
    }

    QWidget* placed = nullptr;
    switch (m_kind) {
    case ControlKind::Unsupported:
        placed = m_pValueWnd.get();
        break;
    case ControlKind::Button:
        placed = m_pButton.get();
        ksv::qt::ModifyStyle(placed, ksv::qt::kStyleBorder, m_bBorder ? ksv::qt::kStyleBorder : 0);
        break;
    default:
        // The windows of the remaining kinds come with their creators.
        break;
    }
    if (placed == nullptr) {
        return;
    }
    ksv::qt::MoveWindow(placed, x, y + labelHeight, w, h - labelHeight);
    if (disabled) {
        ksv::qt::ModifyStyle(placed, 0, ksv::qt::kStyleDisabled);
    }
}

void CCtrl::Show(bool visible) {
    if (!IsKnownKind(m_kind)) {
        ReportInternalError(__LINE__);
        return;
    }
    ksv::qt::ShowWindow(m_pLabelWnd.get(), visible && m_bShowLabel);
    QWidget* shown = nullptr;
    if (m_kind == ControlKind::Unsupported) {
        shown = m_pValueWnd.get();
    } else if (m_kind == ControlKind::Button) {
        shown = m_pButton.get();
    }
    for (QWidget* window : KindWindows()) {
        ksv::qt::ShowWindow(window, visible && window == shown);
    }
}

void CCtrl::Enable(bool enabled) {
    if (!IsKnownKind(m_kind)) {
        ReportInternalError(__LINE__);
        return;
    }
    for (QWidget* window : KindWindows()) {
        ksv::qt::EnableWindow(window, enabled);
    }
}

void CCtrl::SetFont(int height, bool bold) {
    if (!IsKnownKind(m_kind)) {
        ReportInternalError(__LINE__);
        return;
    }
    m_nFontHeight = height;
    m_bFontBold = bold;
    if (m_kind == ControlKind::MessageBox) {
        return;
    }
    m_pFont = std::make_unique<QFont>(MakeFont(height, bold));
    for (QWidget* window : KindWindows()) {
        ApplyFont(window, window == m_pTableWnd.get() ? m_tableFont : *m_pFont);
    }
}

void CCtrl::SetLabelFont(int height, bool bold) {
    m_nLabelFontHeight = height;
    m_bLabelBold = bold;
    m_pLabelFont = std::make_unique<QFont>(MakeFont(height, bold));
    ApplyFont(m_pLabelWnd.get(), *m_pLabelFont);
}

bool CCtrl::OwnsWindow(const QWidget* window) const {
    if (window == nullptr || m_kind == ControlKind::MessageBox || m_kind == ControlKind::Image) {
        return false;
    }
    const auto windows = Windows();
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

CtlColour CCtrl::OnCtlColor(const QWidget* window) const {
    const QColor white(Qt::white);
    const QColor black(Qt::black);
    if (!IsKnownKind(m_kind)) {
        ReportInternalError(__LINE__);
        return {black, white};
    }
    if (window != nullptr && window == m_pLabelWnd.get()) {
        return {black, white};
    }
    if (m_kind == ControlKind::MessageBox || m_kind == ControlKind::Image) {
        return {black, white};
    }
    const QColor own = ksv::qt::ColourFromRef(m_colour);
    const int brightness = own.red() + own.green() + own.blue();
    const bool dark = brightness < 255;
    // Every other kind of the ones built so far is drawn "normal": readable text on its colour.
    return {dark ? white : black, m_hBrush ? m_hBrush->color() : own};
}

void CCtrl::ApplyColours() {
    for (QWidget* window : Windows()) {
        if (window != nullptr) {
            const CtlColour colour = OnCtlColor(window);
            ksv::qt::SetWindowColours(window, colour.text, colour.brush);
        }
    }
}

void CCtrl::CloseDialogs() {
    for (QDialog* dialog :
         {m_pChartDlg.data(), m_pPasswordDlg.data(), m_pDateTimeDlg.data(), m_pNumberDlg.data()}) {
        if (dialog != nullptr) {
            QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
        }
    }
}

void CCtrl::OnClicked(QWidget* window) {
    switch (m_kind) {
    case ControlKind::Unsupported:
    case ControlKind::MessageBox:
    case ControlKind::Image:
        return;
    case ControlKind::Button:
        OnButtonClicked(window);
        return;
    default:
        if (!IsKnownKind(m_kind)) {
            ReportInternalError(__LINE__);
        }
        // The input of the remaining kinds comes with their creators.
        return;
    }
}

void CCtrl::UpdateValue(const std::vector<uint8_t>&) {
    switch (m_kind) {
    case ControlKind::Unsupported:
        ksv::qt::SetWindowText(m_pValueWnd.get(), m_text);
        break;
    case ControlKind::Button:
        if (m_pButton) {
            m_pButton->update();
        }
        break;
    default:
        // The values of the remaining kinds come with their creators.
        break;
    }
}

void CCtrl::UpdateStyle(uint32_t flags, uint32_t colour) {
    m_flags = flags;
    m_colour = colour;
    RemakeBrush();
    if (m_kind != ControlKind::MessageBox && m_kind != ControlKind::Image) {
        ApplyColours();
    }
}

int CCtrl::GetAppearanceCount() const {
    const bool editable = (m_flags & kFlagEditable) != 0;
    switch (m_kind) {
    case ControlKind::Text:
        return editable ? 2 : 1;
    case ControlKind::Latch:
        return m_nLatchGroup != 0 ? 1 : 3;
    case ControlKind::DateTime:
    case ControlKind::List:
        return 2;
    case ControlKind::Number:
        return editable ? 3 : 1;
    case ControlKind::Matrix:
        return 4;
    case ControlKind::Image:
        return 0;
    default:
        return IsKnownKind(m_kind) ? 1 : 0;
    }
}

QString CCtrl::GetKindName(int appearance) const {
    const bool editable = (m_flags & kFlagEditable) != 0;
    std::vector<const char*> names;
    switch (m_kind) {
    case ControlKind::Unsupported:
        names = {"???"};
        break;
    case ControlKind::Button:
        names = {"Button"};
        break;
    case ControlKind::Text:
        names = {"Text", "Text with OK"};
        break;
    case ControlKind::Latch:
        names = {"Latch", "Momentary Latch", "Check Box"};
        break;
    case ControlKind::Section:
        names = {"Section"};
        break;
    case ControlKind::DateTime:
        names = {"Date/Time (Full screen)", "Date/Time (Inline)"};
        break;
    case ControlKind::Number:
        if (editable) {
            names = {"Number (Full screen)", "Number with OK", "Number with spin"};
        } else {
            names = {"Number"};
        }
        break;
    case ControlKind::Matrix:
        names = {"Line Chart", "Column Chart", "Points Chart", "Table"};
        break;
    case ControlKind::Password:
        names = {"Password"};
        break;
    case ControlKind::List:
        names = {"List (Dropdown)", "List Box"};
        break;
    case ControlKind::MessageBox:
        names = {"Message Box"};
        break;
    case ControlKind::Blob:
        names = {"Blob"};
        break;
    case ControlKind::File:
        names = {"File"};
        break;
    case ControlKind::Image:
        names = {"Image"};
        break;
    }
    if (names.empty()) {
        return QString();
    }
    const size_t index = appearance < 0 ? 0 : static_cast<size_t>(appearance);
    return QString::fromLatin1(names[std::min(index, names.size() - 1)]);
}

QString CCtrl::ListName() const {
    if (!m_caption.isEmpty()) {
        return m_caption;
    }
    switch (m_kind) {
    case ControlKind::Unsupported:
        return QStringLiteral("[???]");
    case ControlKind::Button:
        return ksv::qt::GetWindowText(m_pButton.get());
    default:
        return m_text;
    }
}

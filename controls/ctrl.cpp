#include "controls/ctrl.h"

#include "charts/matrix_table_model.h"
#include "controls/ctrl_font.h"
#include "controls/ctrl_rules.h"
#include "controls/momentary_button.h"
#include "controls/value_text.h"
#include "link/link.h"
#include "link/panel_budget.h"
#include "platform/error_reporter.h"
#include "resources/resource_ids.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTableView>
#include <QTimeEdit>

#include <algorithm>

namespace {

int g_windowIdCounter = kFirstControlWindowId;

const QColor kWhite(Qt::white);
const QColor kBlack(Qt::black);

} // namespace

MatrixFields::MatrixFields() = default;
MatrixFields::~MatrixFields() = default;

CCtrl::CCtrl() = default;

// Dialogs are children of the view; one left for a control that is gone has nothing to return to.
CCtrl::~CCtrl() {
    m_dialogContext.reset();
    for (QDialog* dialog : {m_matrix.m_pChartDlg.data(), m_password.m_pPasswordDlg.data(),
                            m_date.m_pDateTimeDlg.data(), m_number.m_pNumberDlg.data()}) {
        if (dialog != nullptr) {
            // Closed now: a dialog still on screen would paint from this control's data.
            dialog->reject();
            dialog->deleteLater();
        }
    }
}

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
    // What is drawn of the caption; the store keeps it whole. A caption may carry the
    // terminator the device counted, which is not shown.
    m_caption = DrawnText(header.caption, ksv::kMaxDrawnTextChars);
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

// Every report of a control is a fault of the program's own.
void CCtrl::ReportInternalError(long line) const {
    if (m_services.reporter != nullptr) {
        m_services.reporter->ReportError(line, ksv::kCtrlModule, 0,
                                         ksv::ReportReason::ProgramFault);
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
    const bool fresh = m_kind == ControlKind::Unsupported && !m_pLabelWnd && !m_pValueWnd &&
                       !m_pButton && !m_pEdit && !m_pCombo;
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
        ksv::qt::SetWindowFont(m_pLabelWnd.get(), *m_pLabelFont);
    }
}

// Every creator ends here: the control font and the colours reach the new windows.
void CCtrl::FinishCreate() {
    if (m_pFont) {
        for (QWidget* window : KindWindows()) {
            if (window != nullptr && window != m_matrix.m_pTableWnd.get()) {
                ksv::qt::SetWindowFont(window, *m_pFont);
            }
        }
    }
    ApplyColours(true);
}

std::vector<QWidget*> CCtrl::KindWindows() const {
    return {m_pValueWnd.get(),
            m_pButton.get(),
            m_latch.m_pCheck.get(),
            m_latch.m_pMomentary.get(),
            m_number.m_pMinus.get(),
            m_number.m_pPlus.get(),
            m_date.m_pDatePicker.get(),
            m_date.m_pTimePicker.get(),
            m_pEdit.get(),
            m_pCombo.get(),
            m_list.m_pListBox.get(),
            m_number.m_pValueWnd2.get(),
            m_number.m_pSlider.get(),
            m_matrix.m_pChartWnd.get(),
            m_matrix.m_pTableWnd.get()};
}

std::vector<QWidget*> CCtrl::Windows() const {
    std::vector<QWidget*> windows = KindWindows();
    windows.insert(windows.begin(), m_pLabelWnd.get());
    return windows;
}

bool CCtrl::UsesOpenPlacement() const {
    return (m_kind == ControlKind::Section || m_kind == ControlKind::Password) && m_state != 0;
}

CtrlRect CCtrl::Rect() const {
    if (UsesOpenPlacement()) {
        return {m_xOpen, m_yOpen, m_widthOpen, m_heightOpen};
    }
    return {m_x, m_y, m_width, m_height};
}

CtrlFrame CCtrl::Frame() const {
    const CtrlRect r = Rect();
    return {r.x, r.y, r.w, r.h, m_bShowLabel ? m_nLabelFontHeight : 0};
}

void CCtrl::PlaceRect(QWidget* window, const CtrlRect& rect) {
    if (window == nullptr) {
        return;
    }
    ksv::qt::MoveWindow(window, rect.x, rect.y, rect.w, rect.h);
    if ((m_flags & kFlagDisabled) != 0) {
        ksv::qt::ModifyStyle(window, 0, ksv::qt::kStyleDisabled);
    }
}

void CCtrl::PlaceBody(QWidget* window, const CtrlFrame& frame) {
    PlaceRect(window, frame.Body());
}

void CCtrl::Place() {
    if (!IsKnownKind(m_kind)) {
        ReportInternalError(__LINE__);
        return;
    }
    const CtrlFrame f = Frame();
    PlaceRect(m_pLabelWnd.get(), {f.x, f.y, f.w, m_nLabelFontHeight});
    switch (m_kind) {
    case ControlKind::Unsupported:
    case ControlKind::Section:
    case ControlKind::Blob:
    case ControlKind::File:
        PlaceBody(m_pValueWnd.get(), f);
        PlaceBody(m_pButton.get(), f);
        break;
    case ControlKind::Button:
        ksv::qt::ModifyStyle(m_pButton.get(), ksv::qt::kStyleBorder,
                             m_bBorder ? ksv::qt::kStyleBorder : 0);
        PlaceBody(m_pButton.get(), f);
        break;
    case ControlKind::Text:
        PlaceText(f);
        break;
    case ControlKind::Latch:
        for (QWidget* window : KindWindows()) {
            PlaceBody(window, f);
        }
        break;
    case ControlKind::DateTime:
        PlaceDateTime(f);
        break;
    case ControlKind::Number:
        PlaceNumber(f);
        break;
    case ControlKind::Matrix:
        PlaceMatrix(f);
        break;
    case ControlKind::Password:
        PlacePassword(f);
        break;
    case ControlKind::List:
        PlaceList(f);
        break;
    case ControlKind::MessageBox:
    case ControlKind::Image:
        break;
    }
    ApplyColours(); // the colours follow the appearance, which a layout may have changed
}

std::vector<QWidget*> CCtrl::ShownWindows() const {
    switch (m_kind) {
    case ControlKind::Unsupported:
        return {m_pValueWnd.get()};
    case ControlKind::Button:
    case ControlKind::Section:
    case ControlKind::Blob:
    case ControlKind::File:
        return {m_pButton.get()};
    case ControlKind::Text:
        return ShownText();
    case ControlKind::Latch:
        return ShownLatch();
    case ControlKind::DateTime:
        return ShownDateTime();
    case ControlKind::Number:
        return ShownNumber();
    case ControlKind::Matrix:
        return ShownMatrix();
    case ControlKind::Password:
        return ShownPassword();
    case ControlKind::List:
        return ShownList();
    case ControlKind::MessageBox:
    case ControlKind::Image:
        return {};
    }
    return {};
}

void CCtrl::Show(bool visible) {
    if (!IsKnownKind(m_kind)) {
        ReportInternalError(__LINE__);
        return;
    }
    if (m_kind == ControlKind::Image) {
        m_image.m_bImageShown = visible;
        return;
    }
    ksv::qt::ShowWindow(m_pLabelWnd.get(), visible && m_bShowLabel);
    const bool editWasShown = m_pEdit && m_pEdit->isVisibleTo(m_pParent);
    QWidget* listBox = m_list.m_pListBox.get();
    const bool listWasShown = listBox != nullptr && listBox->isVisibleTo(m_pParent);
    const std::vector<QWidget*> shown = visible ? ShownWindows() : std::vector<QWidget*>{};
    for (QWidget* window : KindWindows()) {
        const bool show = std::find(shown.begin(), shown.end(), window) != shown.end();
        ksv::qt::ShowWindow(window, window != nullptr && show);
    }
    if (visible) {
        ApplyColours();
    }
    if (m_kind == ControlKind::Number && !editWasShown && m_pEdit &&
        m_pEdit->isVisibleTo(m_pParent)) {
        ShowNumberEdit();
    }
    if (!listWasShown && listBox != nullptr && listBox->isVisibleTo(m_pParent)) {
        ksv::qt::ScrollToSelection(listBox);
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
    if (m_pParent == nullptr) {
        m_pFont.reset(); // made with the windows
        return;
    }
    if (m_pFont && m_pFont->pixelSize() == std::max(1, height) && m_pFont->bold() == bold) {
        return; // every relayout sets the same font again
    }
    m_pFont = std::make_unique<QFont>(MakeControlFont(height, bold));
    for (QWidget* window : KindWindows()) {
        if (window != nullptr && window != m_matrix.m_pTableWnd.get()) {
            ksv::qt::SetWindowFont(window, *m_pFont);
        }
    }
}

void CCtrl::SetLabelFont(int height, bool bold) {
    m_nLabelFontHeight = height;
    m_bLabelBold = bold;
    if (m_pParent == nullptr) {
        m_pLabelFont.reset(); // made with the windows
        return;
    }
    if (m_pLabelFont && m_pLabelFont->pixelSize() == std::max(1, height) &&
        m_pLabelFont->bold() == bold) {
        return; // every stored layout sets the same font again
    }
    m_pLabelFont = std::make_unique<QFont>(MakeControlFont(height, bold));
    if (m_pLabelWnd) {
        ksv::qt::SetWindowFont(m_pLabelWnd.get(), *m_pLabelFont);
    }
}

bool CCtrl::OwnsWindow(const QWidget* window) const {
    if (window == nullptr || m_kind == ControlKind::MessageBox || m_kind == ControlKind::Image) {
        return false;
    }
    if (window == m_pLabelWnd.get()) {
        return true;
    }
    const auto windows = KindWindows();
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

bool CCtrl::IsDark() const {
    const QColor own = ksv::qt::ColourFromRef(m_colour);
    return own.red() + own.green() + own.blue() < 255;
}

// Readable text on the control's colour.
CtlColour CCtrl::Normal() const {
    return {IsDark() ? kWhite : kBlack, ksv::qt::ColourFromRef(m_colour)};
}

// The control's colour as text on white or black.
CtlColour CCtrl::Inverted() const {
    return {ksv::qt::ColourFromRef(m_colour), IsDark() ? kWhite : kBlack};
}

CtlColour CCtrl::OnCtlColor(const QWidget* window) const {
    if (!IsKnownKind(m_kind)) {
        ReportInternalError(__LINE__);
        return {kBlack, kWhite};
    }
    if (window != nullptr && window == m_pLabelWnd.get()) {
        return {kBlack, kWhite};
    }
    switch (m_kind) {
    case ControlKind::Text:
        return ColourText(window);
    case ControlKind::Latch:
        return ColourLatch();
    case ControlKind::Section:
        return m_state != 0 ? Inverted() : Normal();
    case ControlKind::File:
        return m_file.m_bFileRequested ? Inverted() : Normal();
    case ControlKind::DateTime:
        return ColourDateTime();
    case ControlKind::Number:
        return ColourNumber(window);
    case ControlKind::Password:
        return ColourPassword(window);
    case ControlKind::MessageBox:
    case ControlKind::Image:
        return {kBlack, kWhite};
    default:
        return Normal();
    }
}

void CCtrl::ApplyColours(bool hiddenToo) {
    for (QWidget* window : Windows()) {
        // The chart window paints all of itself.
        if (window != nullptr && window != m_matrix.m_pChartWnd.get() &&
            (hiddenToo || window->isVisibleTo(m_pParent))) {
            const CtlColour colour = OnCtlColor(window);
            ksv::qt::SetWindowColours(window, colour.text, colour.brush);
        }
    }
}

void CCtrl::CloseDialogs() {
    for (QDialog* dialog : {m_matrix.m_pChartDlg.data(), m_password.m_pPasswordDlg.data(),
                            m_date.m_pDateTimeDlg.data(), m_number.m_pNumberDlg.data()}) {
        if (dialog != nullptr) {
            dialog->reject();
        }
    }
}

ksv::PanelStore* CCtrl::Store() const {
    return m_services.link == nullptr ? nullptr : &m_services.link->Store();
}

void CCtrl::SendValue(const void* data, uint32_t size) {
    if (m_services.link == nullptr) {
        return;
    }
    m_services.link->Store().SetControlValue(m_deviceId, data, size);
    m_services.link->SendChangedValues();
}

bool CCtrl::RaiseDialog(const QPointer<QDialog>& slot) const {
    if (slot == nullptr) {
        return false;
    }
    slot->raise();
    slot->activateWindow();
    return true;
}

void CCtrl::ShowDialog(QPointer<QDialog>& slot, QDialog* dialog,
                       std::function<void(QDialog*)> accepted) {
    if (!m_dialogContext) {
        m_dialogContext = std::make_unique<QObject>();
    }
    slot = dialog;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::finished, m_dialogContext.get(),
                     [dialog, accepted = std::move(accepted)](int result) {
                         if (result == QDialog::Accepted) {
                             accepted(dialog);
                         }
                     });
    dialog->open();
}

void CCtrl::OpenUrl(const QUrl& url) const {
    if (m_services.host != nullptr) {
        m_services.host->OpenUrl(url);
    }
}

void CCtrl::OnClicked(QWidget* window) {
    switch (m_kind) {
    case ControlKind::Unsupported:
    case ControlKind::MessageBox:
    case ControlKind::Image:
    case ControlKind::List:
        return;
    case ControlKind::Button:
        ClickButton();
        return;
    case ControlKind::Text:
        ClickText();
        return;
    case ControlKind::Latch:
        ClickLatch();
        return;
    case ControlKind::Section:
        ClickSection();
        return;
    case ControlKind::DateTime:
        ClickDateTime();
        return;
    case ControlKind::Number:
        ClickNumber(window);
        return;
    case ControlKind::Matrix:
        ClickMatrix();
        return;
    case ControlKind::Password:
        ClickPassword();
        return;
    case ControlKind::Blob:
        ClickBlob();
        return;
    case ControlKind::File:
        ClickFile();
        return;
    }
    ReportInternalError(__LINE__);
}

void CCtrl::OnEditEnter() {
    switch (m_kind) {
    case ControlKind::Text:
        if (Appearance() == 1) {
            ClickText();
        }
        return;
    case ControlKind::Number:
        if (Appearance() == 1) {
            ClickNumber(m_pEdit.get());
        }
        return;
    case ControlKind::Password:
        if (m_state == 0) {
            ClickPassword();
        }
        return;
    default:
        return;
    }
}

void CCtrl::UpdateValue(const std::vector<uint8_t>& value) {
    switch (m_kind) {
    case ControlKind::Unsupported:
        ksv::qt::SetWindowText(m_pValueWnd.get(), m_text);
        return;
    case ControlKind::Button:
        if (m_pButton) {
            m_pButton->update();
        }
        return;
    case ControlKind::Text:
        UpdateText(value);
        return;
    case ControlKind::Latch:
        UpdateLatch(value);
        return;
    case ControlKind::Section:
        m_state = value.empty() ? 0 : value[0];
        ApplyColours();
        return;
    case ControlKind::DateTime:
        UpdateDateTime(value);
        return;
    case ControlKind::Number:
        UpdateNumber(value);
        return;
    case ControlKind::Password:
        m_state = value.empty() ? 0 : value[0];
        return;
    case ControlKind::List:
        UpdateList(value);
        return;
    case ControlKind::MessageBox:
        m_text = TextOfValue(value);
        return;
    case ControlKind::Blob:
        UpdateBlob(value);
        return;
    case ControlKind::File:
    case ControlKind::Image:
        return; // a file arrives by OnFileArrived; a picture only with the panel
    case ControlKind::Matrix:
        break;
    }
    ReportInternalError(__LINE__);
}

void CCtrl::UpdateStyle(uint32_t flags, uint32_t colour) {
    m_flags = flags;
    m_colour = colour;
    RemakeBrush();
    if (m_kind != ControlKind::MessageBox && m_kind != ControlKind::Image) {
        ApplyColours();
    }
}

AppearanceContext CCtrl::AppearanceContextOf() const {
    AppearanceContext context;
    context.kind = m_kind;
    context.flags = m_flags;
    context.latchGroup = m_latch.m_nLatchGroup;
    context.numberHasRange = m_number.m_min < m_number.m_max;
    return context;
}

int CCtrl::Appearance() const {
    return EffectiveAppearance(AppearanceContextOf(), m_appearance);
}

int CCtrl::LastAppearance() const {
    return ::LastAppearance(AppearanceContextOf());
}

int CCtrl::GetAppearanceCount() const {
    return OfferedAppearanceCount(AppearanceContextOf());
}

QString CCtrl::GetKindName(int appearance) const {
    return QString::fromLatin1(AppearanceName(AppearanceContextOf(), appearance));
}

QString CCtrl::ListName() const {
    if (!m_caption.isEmpty()) {
        return m_caption;
    }
    using ksv::qt::GetWindowText;
    switch (m_kind) {
    case ControlKind::Unsupported:
        return QStringLiteral("[???]");
    case ControlKind::Text:
        if ((m_flags & ksv::kFlagPasswordEntry) != 0 && m_pEdit) {
            return QStringLiteral("[Password]");
        }
        return m_pEdit ? GetWindowText(m_pEdit.get()) : GetWindowText(m_pValueWnd.get());
    case ControlKind::Latch: {
        const std::vector<QWidget*> shown = ShownLatch();
        return shown.empty() ? QString() : GetWindowText(shown.front());
    }
    case ControlKind::DateTime:
        if (!IsEditable()) {
            return GetWindowText(m_pValueWnd.get());
        }
        if (Appearance() == 0) {
            return GetWindowText(m_pButton.get());
        }
        return ListNameOfPickers();
    case ControlKind::Number:
        if (!IsEditable() || Appearance() == 2) {
            return GetWindowText(m_pValueWnd.get());
        }
        if (Appearance() == 1) {
            return m_pEdit && m_pEdit->isVisibleTo(m_pParent) ? GetWindowText(m_pEdit.get())
                                                              : NumberText(m_number.m_value, true);
        }
        return GetWindowText(m_pButton.get());
    case ControlKind::Password:
        return QStringLiteral("[Password]");
    case ControlKind::List:
        return ListNameOfItems();
    case ControlKind::MessageBox:
        return m_text;
    case ControlKind::Image:
        return m_caption;
    default:
        return GetWindowText(m_pButton.get());
    }
}

#include "controls/ctrl.h"

#include "controls/value_text.h"
#include "link/panel_budget.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Characters the edit takes: the device's maximum counts the terminator, and bytes when its
// sizes count bytes.
int EditLimit(uint32_t maxLen, uint32_t flags) {
    if (maxLen == 0) {
        return 0;
    }
    const uint32_t characters = (flags & ksv::kFlagWide) != 0 ? (maxLen - 1) / 2 : maxLen - 1;
    return static_cast<int>(std::min<uint32_t>(characters, 32767));
}

} // namespace

// Editable: an edit, with an "OK" button in appearance 1. Read-only: a static text.
void CCtrl::CreateText(uint32_t maxLen, const QString& text) {
    BeginCreate(ControlKind::Text);
    m_text = text;
    m_textEntry.m_nMaxLen = maxLen;
    if (m_pParent == nullptr) {
        return;
    }
    CreateLabel(0);
    if (IsEditable()) {
        uint32_t style = ksv::qt::kStyleBorder | ksv::qt::kEditAutoHScroll;
        if ((m_flags & ksv::kFlagPasswordEntry) != 0) {
            style |= ksv::qt::kEditPassword;
        }
        m_pEdit.Reset(ksv::qt::CreateEdit(m_pParent, QString(), style, NextChildId()));
        ksv::qt::SetEditLimit(m_pEdit.get(), EditLimit(maxLen, m_flags));
        ksv::qt::SetWindowText(m_pEdit.get(), m_text);
        m_pButton.Reset(
            ksv::qt::CreatePushButton(m_pParent, QStringLiteral("OK"), 0, NextChildId()));
    } else {
        m_pValueWnd.Reset(ksv::qt::CreateStatic(m_pParent,
                                                DrawnText(m_text, ksv::kMaxDrawnTextChars),
                                                ksv::qt::kStaticNoPrefix, NextChildId()));
    }
    FinishCreate();
}

void CCtrl::PlaceText(const CtrlFrame& f) {
    if (m_pValueWnd) {
        using namespace ksv::qt;
        uint32_t style = m_nAlign == 1 ? kStaticCentre : m_nAlign == 2 ? kStaticRight : 0;
        if (m_bBorder) {
            style |= kStyleBorder;
        }
        ModifyStyle(m_pValueWnd.get(), kStyleBorder | kStaticCentre | kStaticRight, style);
        PlaceBody(m_pValueWnd.get(), f);
        return;
    }
    if (Appearance() == 1) {
        const EditWithButton p = PlaceEditWithButton(f);
        PlaceRect(m_pEdit.get(), p.edit);
        PlaceRect(m_pButton.get(), p.button);
        return;
    }
    PlaceBody(m_pEdit.get(), f);
}

std::vector<QWidget*> CCtrl::ShownText() const {
    if (m_pValueWnd) {
        return {m_pValueWnd.get()};
    }
    if (Appearance() == 1) {
        return {m_pEdit.get(), m_pButton.get()};
    }
    return {m_pEdit.get()};
}

CtlColour CCtrl::ColourText(const QWidget* window) const {
    if (Appearance() != 1) {
        return Normal();
    }
    if (window == m_pButton.get()) {
        return {QColor(Qt::black), ksv::qt::ColourFromRef(0xC0C0C0)};
    }
    // Typing stays readable on a dark colour: white there, black on a light one.
    return Normal();
}

// The value goes out as UTF-16 with its terminator.
void CCtrl::ClickText() {
    if (!m_pEdit) {
        return;
    }
    std::u16string value = ksv::qt::GetWindowText(m_pEdit.get()).toStdU16String();
    value.push_back(u'\0');
    SendValue(value.data(), static_cast<uint32_t>(value.size() * sizeof(char16_t)));
}

// Every keystroke of a plain edit is sent; the program's own changes never notify.
void CCtrl::OnEditChange() {
    if (m_kind == ControlKind::Number || m_kind == ControlKind::Password) {
        return;
    }
    if (m_kind != ControlKind::Text) {
        ReportInternalError(__LINE__);
        return;
    }
    if (Appearance() == 0) {
        ClickText();
    }
}

void CCtrl::UpdateText(const std::vector<uint8_t>& value) {
    m_text = TextOfValue(value);
    if (m_pEdit) {
        ksv::qt::SetWindowText(m_pEdit.get(), m_text);
    }
    if (m_pValueWnd) {
        ksv::qt::SetWindowText(m_pValueWnd.get(), DrawnText(m_text, ksv::kMaxDrawnTextChars));
    }
}

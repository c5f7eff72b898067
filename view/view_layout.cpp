#include "view/kestrovane_view.h"

#include "resources/resource_ids.h"
#include "view/page_layout.h"
#include "view/stored_layout.h"

#include <algorithm>

namespace {

constexpr int kBarHeight = 57;
constexpr int kStartButtonWidth = 180;
// The ping period when none is stored and none was running.
constexpr int kDefaultPingSeconds = 3;

const QString kLayoutNotWritten =
    QStringLiteral("The layout could not be written to the settings file.");

} // namespace

void CKestrovaneView::CreateViewButtons() {
    if (m_buttonsCreated) {
        return;
    }
    struct ButtonDef {
        CCtrl* button;
        int id;
        const char* caption;
        int width;
    };
    const ButtonDef buttons[] = {
        {&m_btnFirst, IDC_BTN_FIRST, "First", 57},
        {&m_btnConnectInbound, IDC_BTN_CONNECT_INBOUND, "Connect Inbound", kStartButtonWidth},
        {&m_btnConnect, IDC_BTN_CONNECT, "Connect", kStartButtonWidth},
        {&m_btnExit, IDC_BTN_EXIT, "Close", kStartButtonWidth},
        {&m_btnClose, IDC_BTN_CLOSE, "Close", 57},
        {&m_btnLast, IDC_BTN_LAST, "Last", 57},
        {&m_btnPrev, IDC_BTN_PREV, "Prev", 58},
        {&m_btnNext, IDC_BTN_NEXT, "Next", 58},
    };
    for (const ButtonDef& def : buttons) {
        def.button->InitViewButton(def.id, QString::fromLatin1(def.caption), this, true, def.width,
                                   kBarHeight, m_services);
        def.button->CreateButton();
    }
    m_buttonsCreated = true;
}

// The page bar in the order "Close", "Prev", "Next", "First", "Last".
CCtrl* CKestrovaneView::PageBarButtons(size_t index) {
    CCtrl* const bar[] = {&m_btnClose, &m_btnPrev, &m_btnNext, &m_btnFirst, &m_btnLast};
    return index < std::size(bar) ? bar[index] : nullptr;
}

void CKestrovaneView::LayoutPanel(bool applyStoredLayout) {
    update();
    const QRect client(0, 0, width(), kLayoutHeight);
    for (size_t i = 0; CCtrl* button = PageBarButtons(i); ++i) {
        button->SetFont(20, true);
    }
    if (m_bConnected == 0 || m_nCtrls == 0) {
        LayoutStartScreen(client);
        return;
    }

    for (CCtrl* button : {&m_btnConnectInbound, &m_btnConnect, &m_btnExit}) {
        button->Show(false);
    }
    for (size_t i = 0; CCtrl* button = PageBarButtons(i); ++i) {
        button->Show(true);
    }
    const int barY = kLayoutHeight - (m_iGap + kBarHeight);
    LayoutPageBar(barY);
    if (HasDeviceName()) {
        LoadVariants();
    }
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        m_pCtrls[i].SetFont(20, false);
        SetDefaultSize(m_pCtrls[i]);
    }

    const FlowArea area{client.left(), client.top(), client.left() + client.width(), barY};
    const FlowSpacing spacing{m_iGap, m_iMaxSpread, m_bJustify != 0};
    FlowControls(m_pCtrls.get(), m_nCtrls, StoredLayoutPages(), area, spacing);

    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        CCtrl& ctrl = m_pCtrls[i];
        ctrl.m_xOpen = ctrl.m_x;
        ctrl.m_yOpen = ctrl.m_y;
        ctrl.m_widthOpen = ctrl.m_width;
        ctrl.m_heightOpen = ctrl.m_height;
        ctrl.m_pageOpen = ctrl.m_page;
    }
    if (applyStoredLayout) {
        LoadLayout();
    }

    int lastPage = 0;
    for (size_t i = 0; CCtrl* button = PageBarButtons(i); ++i) {
        button->Place();
        lastPage = std::max(lastPage, button->m_page);
    }
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        CCtrl& ctrl = m_pCtrls[i];
        if (ctrl.m_kind == ControlKind::MessageBox) {
            ctrl.m_page = 0;
        }
        ctrl.Place();
        lastPage = std::max(lastPage, ctrl.EffectivePage());
    }
    m_iLastPage = lastPage;
    if (m_iPage > m_iLastPage) {
        m_iPage = m_iLastPage;
    }
    ShowPage();
}

void CKestrovaneView::LayoutPageBar(int barY) {
    const int g = m_iGap;
    struct Place {
        CCtrl* button;
        int x;
        int y;
        int width;
    };
    // "Last" lies outside the view unless a stored layout moves it.
    const Place places[] = {
        {&m_btnClose, g, barY, 57},          {&m_btnPrev, 2 * g + 57, barY, 58},
        {&m_btnNext, 3 * g + 115, barY, 58}, {&m_btnFirst, 4 * g + 173, barY, 57},
        {&m_btnLast, 5 * g + 230, -100, 57},
    };
    for (const Place& place : places) {
        place.button->m_x = place.x;
        place.button->m_y = place.y;
        place.button->m_width = place.width;
        place.button->m_height = kBarHeight;
        place.button->m_page = -1;
    }
}

void CKestrovaneView::LayoutStartScreen(const QRect& area) {
    const bool idle = m_bConnected == 0;
    auto placeAt = [&area](CCtrl& button, int quarter) {
        const QPoint at = StartScreenPosition(area, quarter, button.m_width, button.m_height);
        button.m_x = at.x();
        button.m_y = at.y();
        button.Show(true);
        button.Place();
    };
    placeAt(m_btnConnect, 1);
    // The reconnect line, across the top above "Connect".
    const int lineBottom = m_btnConnect.m_y - m_iGap;
    m_reconnect.PlaceLine(QRect(area.left() + m_iGap, area.top() + m_iGap,
                                area.width() - 2 * m_iGap, lineBottom - area.top() - m_iGap));
    m_btnConnect.Enable(idle);
    if (m_PermitInbound != 0) {
        placeAt(m_btnConnectInbound, 2);
        m_btnConnectInbound.Enable(idle);
    } else {
        m_btnConnectInbound.Show(false);
    }
    m_btnExit.m_width = kStartButtonWidth;
    m_btnExit.m_height = kBarHeight;
    placeAt(m_btnExit, 3);
    m_btnExit.Enable(true);
    for (size_t i = 0; CCtrl* button = PageBarButtons(i); ++i) {
        button->Show(false);
    }
}

void CKestrovaneView::ShowPage() {
    update();
    auto onPage = [this](int page) { return page == m_iPage || page == -1; };
    UpdatePageWindows();
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        CCtrl& ctrl = m_pCtrls[i];
        if (ctrl.HasWindows() || ctrl.m_kind == ControlKind::Image) {
            ctrl.Show(ctrl.IsShown() && onPage(ctrl.EffectivePage()));
        }
    }
    for (CCtrl* button : {&m_btnClose, &m_btnNext, &m_btnPrev, &m_btnFirst, &m_btnLast}) {
        button->Show(button->IsShown() && onPage(button->m_page));
    }
    m_btnLast.Enable(m_iPage < m_iLastPage);
    m_btnNext.Enable(m_iPage < m_iLastPage);
    m_btnPrev.Enable(m_iPage > 0);
    m_btnFirst.Enable(m_iPage > 0);
}

void CKestrovaneView::GoToPage(int page) {
    // The enabling rules keep the commands in range; a command sent regardless is ignored.
    if (m_bConnected == 0 && m_nCtrls == 0) {
        return;
    }
    if (page < 0 || page > m_iLastPage) {
        return;
    }
    m_iPage = page;
    ShowPage();
}

ksv::PanelLayout CKestrovaneView::CurrentPanelLayout() {
    ksv::PanelLayout panel;
    panel.device.pingSeconds = m_bPingOn != 0 ? m_iPingSeconds : 0;
    panel.device.layoutAllowed = m_bLayoutAllowed != 0;
    panel.device.pingsAllowed = m_bPingsAllowed != 0;
    panel.controls.reserve(m_nCtrls);
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        const CCtrl& ctrl = m_pCtrls[i];
        panel.controls.push_back({ctrl.m_deviceId, LayoutTraitsOf(ctrl), CurrentLayout(ctrl)});
    }
    for (size_t i = 0; i < ksv::kPageBarButtonCount; ++i) {
        panel.pageBar[i] = CurrentLayout(*PageBarButtons(i));
    }
    return panel;
}

// The pages stored placements use, which automatic placement leaves to them.
std::set<int> CKestrovaneView::StoredLayoutPages() {
    if (!HasDeviceName()) {
        return {};
    }
    return ksv::StoredPages(Device(), CurrentPanelLayout().controls);
}

void CKestrovaneView::LoadLayout() {
    if (!HasDeviceName()) {
        return;
    }
    ksv::PanelLayout panel = CurrentPanelLayout();
    ksv::ReadPanelLayout(Device(), panel);
    const int32_t seconds = panel.device.pingSeconds;
    SetPingTimer(seconds != 0, seconds != 0 ? seconds : kDefaultPingSeconds);
    m_bLayoutAllowed = panel.device.layoutAllowed ? 1 : 0;
    m_bPingsAllowed = panel.device.pingsAllowed ? 1 : 0;
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        const ksv::StoredControl& stored = panel.controls[i];
        ApplyStoredLayout(m_pCtrls[i], stored.traits, stored.layout);
    }
    for (size_t i = 0; i < ksv::kPageBarButtonCount; ++i) {
        ApplyStoredPageBarLayout(*PageBarButtons(i), panel.pageBar[i]);
    }
}

bool CKestrovaneView::SaveLayout() {
    if (!HasDeviceName()) {
        return true;
    }
    if (ksv::WritePanelLayout(Device(), CurrentPanelLayout())) {
        return true;
    }
    ShowUserMessage(kLayoutNotWritten, ksv::ReportReason::LayoutNotWritten, true);
    return false;
}

void CKestrovaneView::LoadVariants() {
    if (!HasDeviceName() || m_nCtrls == 0) {
        return;
    }
    const ksv::DeviceSettings& device = Device();
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        CCtrl& ctrl = m_pCtrls[i];
        ctrl.m_appearance =
            ksv::ReadAppearance(device, ctrl.m_deviceId, LayoutTraitsOf(ctrl), ctrl.m_appearance);
    }
}

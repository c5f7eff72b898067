#include "view/kestrovane_view.h"

#include "resources/resource_ids.h"
#include "view/page_layout.h"

#include <algorithm>
#include <set>

namespace {

constexpr int kBarHeight = 57;
constexpr int kStartButtonWidth = 180;

// Device-wide entries (id 0) of the device's settings section.
constexpr uint32_t kAttrLayoutLocked = 256;
constexpr uint32_t kAttrPingsLocked = 512;
constexpr uint32_t kAttrPingSeconds = 768;
constexpr uint32_t kAttrAppearance = 336;

} // namespace

void CKestrovaneView::CreateViewButtons() {
    if (m_buttonsCreated) {
        return;
    }
    struct Spec {
        CCtrl* button;
        int id;
        const char* caption;
        int width;
    };
    const Spec specs[] = {
        {&m_btnFirst, IDC_BTN_FIRST, "First", 57},
        {&m_btnConnectInbound, IDC_BTN_CONNECT_INBOUND, "Connect Inbound", kStartButtonWidth},
        {&m_btnConnect, IDC_BTN_CONNECT, "Connect", kStartButtonWidth},
        {&m_btnExit, IDC_BTN_EXIT, "Close", kStartButtonWidth},
        {&m_btnClose, IDC_BTN_CLOSE, "Close", 57},
        {&m_btnLast, IDC_BTN_LAST, "Last", 57},
        {&m_btnPrev, IDC_BTN_PREV, "Prev", 58},
        {&m_btnNext, IDC_BTN_NEXT, "Next", 58},
    };
    for (const Spec& spec : specs) {
        spec.button->InitViewButton(spec.id, QString::fromLatin1(spec.caption), this, true,
                                    spec.width, kBarHeight, m_services);
        spec.button->CreateButton();
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

    // Automatic placement starts after every page a stored placement uses.
    std::set<int> storedPages;
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        const CCtrl& ctrl = m_pCtrls[i];
        if (!ctrl.m_bAutoPlace) {
            storedPages.insert(ctrl.m_page);
            storedPages.insert(ctrl.m_pageOpen);
        }
    }
    const FlowArea area{client.left(), client.top(), client.left() + client.width(), barY};
    const FlowSpacing spacing{m_iGap, m_iMaxSpread, m_bJustify != 0};
    FlowControls(m_pCtrls.get(), m_nCtrls, FirstFreePage(storedPages), area, spacing);

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
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        CCtrl& ctrl = m_pCtrls[i];
        ctrl.Show(ctrl.IsShown() && onPage(ctrl.EffectivePage()));
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

// The stored per-device values that apply so far: the lock entries and the ping period.
// Stored placements, sizes and fonts are not applied yet.
void CKestrovaneView::LoadLayout() {
    if (!HasDeviceName()) {
        return;
    }
    ksv::DeviceSettings& device = Device();
    const int32_t seconds =
        device.GetDeviceInt(0, kAttrPingSeconds, m_bPingOn ? m_iPingSeconds : 0);
    SetPingTimer(seconds != 0, seconds != 0 ? seconds : 3);
    m_bLayoutAllowed = device.GetDeviceInt(0, kAttrLayoutLocked, 0) == 0 ? 1 : 0;
    m_bPingsAllowed = device.GetDeviceInt(0, kAttrPingsLocked, 0) == 0 ? 1 : 0;
}

// Writes the device-wide values; the per-control layout is not stored yet.
void CKestrovaneView::SaveLayout() {
    if (!HasDeviceName()) {
        return;
    }
    ksv::DeviceSettings& device = Device();
    // One file write for the whole layout.
    ksv::SettingsBatch batch(device.Store());
    device.WriteDeviceInt(0, kAttrPingSeconds, m_bPingOn ? m_iPingSeconds : 0);
    device.WriteDeviceInt(0, kAttrLayoutLocked, m_bLayoutAllowed ? 0 : 1);
    device.WriteDeviceInt(0, kAttrPingsLocked, m_bPingsAllowed ? 0 : 1);
}

void CKestrovaneView::LoadVariants() {
    if (!HasDeviceName() || m_nCtrls == 0) {
        return;
    }
    ksv::DeviceSettings& device = Device();
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        CCtrl& ctrl = m_pCtrls[i];
        ctrl.m_appearance =
            device.GetDeviceInt(ctrl.m_deviceId, kAttrAppearance, ctrl.m_appearance);
    }
}

#include "view_fixture.h"

namespace {

using ViewPages = ViewFixture;

std::vector<ksv::DeviceControl> Buttons(uint32_t count) {
    std::vector<ksv::DeviceControl> controls;
    for (uint32_t id = 1; id <= count; ++id) {
        controls.push_back(ViewFixture::Button(id, u"B"));
    }
    return controls;
}

TEST_F(ViewPages, PageButtonsAndNavigationMenuFollowTheCurrentPage) {
    StartView();
    // Without a connection every page item is disabled.
    for (int id : {ID_PAGE_PREVIOUS, ID_PAGE_NEXT, ID_PAGE_FIRST, ID_PAGE_LAST}) {
        EXPECT_FALSE(view->IsCommandEnabled(id)) << id;
    }
    ConnectWithPanel(Buttons(14)); // pages 0, 1 and 2
    EXPECT_EQ(view->LastPage(), 2);
    EXPECT_FALSE(ViewButton(IDC_BTN_PREV)->isEnabled());
    EXPECT_FALSE(ViewButton(IDC_BTN_FIRST)->isEnabled());
    EXPECT_TRUE(ViewButton(IDC_BTN_NEXT)->isEnabled());
    EXPECT_TRUE(ViewButton(IDC_BTN_LAST)->isEnabled());
    EXPECT_FALSE(view->IsCommandEnabled(ID_PAGE_PREVIOUS));
    EXPECT_TRUE(view->IsCommandEnabled(ID_PAGE_NEXT));

    Click(ViewButton(IDC_BTN_NEXT));
    EXPECT_EQ(view->CurrentPage(), 1);
    EXPECT_TRUE(IsVisible(ControlButton(6)));
    EXPECT_FALSE(IsVisible(ControlButton(0)));
    EXPECT_TRUE(ViewButton(IDC_BTN_PREV)->isEnabled());
    EXPECT_TRUE(ViewButton(IDC_BTN_NEXT)->isEnabled());
    EXPECT_TRUE(view->IsCommandEnabled(ID_PAGE_FIRST));

    // "Last" is off screen, but the menu item reaches the last page.
    view->OnMenuCommand(ID_PAGE_LAST);
    EXPECT_EQ(view->CurrentPage(), 2);
    EXPECT_TRUE(IsVisible(ControlButton(12)));
    EXPECT_FALSE(ViewButton(IDC_BTN_NEXT)->isEnabled());
    EXPECT_FALSE(ViewButton(IDC_BTN_LAST)->isEnabled());
    EXPECT_FALSE(view->IsCommandEnabled(ID_PAGE_LAST));
    // Out of range commands sent regardless change nothing.
    view->OnMenuCommand(ID_PAGE_NEXT);
    EXPECT_EQ(view->CurrentPage(), 2);

    Click(ViewButton(IDC_BTN_PREV));
    EXPECT_EQ(view->CurrentPage(), 1);
    Click(ViewButton(IDC_BTN_FIRST));
    EXPECT_EQ(view->CurrentPage(), 0);
    EXPECT_TRUE(IsVisible(ControlButton(0)));
}

TEST_F(ViewPages, ARelayoutWithFewerPagesLandsOnTheNewLastPage) {
    StartView();
    ConnectWithPanel(Buttons(14));
    view->OnMenuCommand(ID_PAGE_LAST);
    ASSERT_EQ(view->CurrentPage(), 2);
    Send(ksv::EncodeStyleUpdate({ksv::StyleEntry(13, 1), ksv::StyleEntry(14, 1)}));
    ASSERT_TRUE(WaitFor([this] { return view->LastPage() == 1; }));
    EXPECT_EQ(view->CurrentPage(), 1);
}

TEST_F(ViewPages, MenuEnablingFollowsConnectionControlsAndDeviceLocks) {
    StartView();
    EXPECT_TRUE(view->IsCommandEnabled(ID_COM_PORTS));
    EXPECT_TRUE(view->IsCommandEnabled(ID_CLOSE));
    EXPECT_TRUE(view->IsCommandEnabled(ID_ALWAYS_RELOAD_LAYOUT));
    EXPECT_FALSE(view->IsCommandEnabled(ID_PINGS));
    EXPECT_FALSE(view->IsCommandEnabled(ID_DEFAULT_LAYOUT));
    EXPECT_FALSE(view->IsCommandEnabled(ID_LOAD_RECOMMENDED_LAYOUT));
    EXPECT_TRUE(view->IsCommandChecked(ID_ALWAYS_RELOAD_LAYOUT));

    PresetDeviceInt(0, 512, 1); // the device forbids changing the ping setting
    ConnectWithPanel(Buttons(2));
    EXPECT_TRUE(view->IsCommandEnabled(ID_LOAD_RECOMMENDED_LAYOUT));
    EXPECT_TRUE(view->IsCommandEnabled(ID_DEFAULT_LAYOUT));
    EXPECT_FALSE(view->IsCommandEnabled(ID_PINGS));

    // Turning "always reload" off is stored; turning it on asks for the layout at once.
    view->OnMenuCommand(ID_ALWAYS_RELOAD_LAYOUT);
    EXPECT_FALSE(view->IsCommandChecked(ID_ALWAYS_RELOAD_LAYOUT));
    EXPECT_EQ(settings.GetProfileInt(ksv::kGlobalSection, "m_AlwaysReload", 9), 0);
    EXPECT_EQ(device.Drain(), 0u);
    view->OnMenuCommand(ID_ALWAYS_RELOAD_LAYOUT);
    EXPECT_EQ(settings.GetProfileInt(ksv::kGlobalSection, "m_AlwaysReload", 9), 1);
    const HandheldFrame request = ReadFrame();
    EXPECT_EQ(request.kind, ksv::kMsgLayoutRequest);
    EXPECT_EQ(settings.GetProfileInt(kDeviceName, ksv::DeviceKey(0, 0), 0), 1);
}

TEST_F(ViewPages, ARecommendedLayoutAlreadyAskedForIsNotAskedAgainWithoutAlwaysReload) {
    settings.WriteProfileInt(ksv::kGlobalSection, "m_AlwaysReload", 0);
    PresetDeviceInt(0, 0, 1);
    StartView();
    Click(ViewButton(IDC_BTN_CONNECT));
    ASSERT_EQ(ReadFrame().kind, ksv::kMsgHello);
    Send(ksv::EncodeHelloReply(kDeviceName, false, ksv::kHelloPingsOff));
    Send(ksv::EncodePanelDescription(Buttons(1)));
    ASSERT_TRUE(WaitFor([this] { return view->ControlCount() == 1; }));
    EXPECT_EQ(device.Drain(), 0u);
}

TEST_F(ViewPages, TheStartScreenOffersConnectInboundOnlyWhenPermitted) {
    settings.WriteProfileInt(ksv::kGlobalSection, "m_PermitInbound", 1);
    StartView();
    EXPECT_EQ(ViewButton(IDC_BTN_CONNECT)->geometry(), QRect(30, 39, 180, 57));
    EXPECT_TRUE(IsVisible(ViewButton(IDC_BTN_CONNECT_INBOUND)));
    EXPECT_EQ(ViewButton(IDC_BTN_CONNECT_INBOUND)->geometry(), QRect(30, 106, 180, 57));
    EXPECT_EQ(ViewButton(IDC_BTN_EXIT)->geometry(), QRect(30, 173, 180, 57));
    for (int id : {IDC_BTN_FIRST, IDC_BTN_PREV, IDC_BTN_NEXT, IDC_BTN_LAST, IDC_BTN_CLOSE}) {
        EXPECT_FALSE(IsVisible(ViewButton(id))) << id;
    }
}

TEST_F(ViewPages, AWiderWindowFitsMoreControlsPerRow) {
    StartView(480);
    ConnectWithPanel(Buttons(5));
    EXPECT_EQ(ControlButton(3)->geometry().top(), 2);
    EXPECT_EQ(ControlButton(4)->geometry().top(), 61);
    view->resize(240, CKestrovaneView::kLayoutHeight);
    EXPECT_EQ(ControlButton(2)->geometry().top(), 61);
}

TEST_F(ViewPages, AnUnsetPortOpensTheComPortDialogProposingFiveAndEight) {
    settings.WriteProfileInt(ksv::kGlobalSection, "m_iComOutGoing", 0);
    settings.WriteProfileInt(ksv::kGlobalSection, "m_iComIncoming", 0);
    comPortAccepted = true;
    comPortAnswer = ComPortValues{3, 4, true};
    StartView();
    ASSERT_EQ(comPortDialogs.size(), 1u);
    EXPECT_EQ(comPortDialogs[0].inbound, 5);
    EXPECT_EQ(comPortDialogs[0].outbound, 8);
    EXPECT_FALSE(comPortDialogs[0].permitInbound);
    EXPECT_EQ(view->ComIncoming(), 3);
    EXPECT_EQ(view->ComOutGoing(), 4);
    EXPECT_EQ(settings.GetProfileInt(ksv::kGlobalSection, "m_iComIncoming", 0), 3);
    EXPECT_EQ(settings.GetProfileInt(ksv::kGlobalSection, "m_iComOutGoing", 0), 4);
    EXPECT_EQ(settings.GetProfileInt(ksv::kGlobalSection, "m_PermitInbound", 0), 1);
    EXPECT_TRUE(IsVisible(ViewButton(IDC_BTN_CONNECT_INBOUND)));
}

TEST_F(ViewPages, PingsChosenWhileConnectedAreStoredForTheDevice) {
    StartView();
    ConnectWithPanel(Buttons(1));
    EXPECT_FALSE(view->IsPingOn());
    view->SetPingDialogHook([](PingValues& values) {
        EXPECT_FALSE(values.enabled);
        EXPECT_EQ(values.seconds, 3);
        values = PingValues{true, 10};
        return true;
    });
    ASSERT_TRUE(view->IsCommandEnabled(ID_PINGS));
    view->OnMenuCommand(ID_PINGS);
    EXPECT_TRUE(view->IsPingOn());
    EXPECT_EQ(view->PingSeconds(), 10);
    EXPECT_EQ(settings.GetProfileInt(kDeviceName, ksv::DeviceKey(0, 768), 0), 10);
}

} // namespace

#include "platform/device_settings.h"
#include "platform/layout/layout_attributes.h"
#include "platform/layout/panel_layout.h"
#include "platform/memory_settings_store.h"

#include <gtest/gtest.h>

#include <climits>

namespace ksv {
namespace {

constexpr uint32_t kId = 0x12;
const LayoutTraits kPlain{false, false, 2};
const LayoutTraits kSection{true, false, 0};
const LayoutTraits kImage{false, true, 0};

class LayoutStoreTest : public ::testing::Test {
protected:
    void Store(uint32_t id, uint32_t attribute, int32_t value) {
        device.WriteDeviceInt(id, attribute, value);
    }
    int32_t Stored(uint32_t id, uint32_t attribute) const {
        return device.GetDeviceInt(id, attribute, INT_MIN);
    }

    MemorySettingsStore store;
    DeviceSettings device{store, [] { return std::u16string(u"Pump"); }};
};

struct HostileValue {
    const char* what;
    uint32_t attribute;
    int32_t stored;
    int32_t expected;
};

int32_t FieldOf(const ControlLayout& layout, uint32_t attribute) {
    switch (attribute) {
    case kAttrX:
        return layout.placement.x;
    case kAttrY:
        return layout.placement.y;
    case kAttrWidth:
        return layout.placement.width;
    case kAttrHeight:
        return layout.placement.height;
    case kAttrPage:
        return layout.placement.page;
    case kAttrAppearance:
        return layout.appearance;
    case kAttrFontHeight:
        return layout.fontHeight;
    case kAttrLabelFontHeight:
        return layout.labelFontHeight;
    case kAttrAlign:
        return layout.align;
    default:
        return INT_MIN;
    }
}

TEST_F(LayoutStoreTest, HostileStoredValuesAreBroughtIntoRange) {
    const HostileValue cases[] = {
        {"x at int max", kAttrX, INT_MAX, 4096},
        {"y at int min", kAttrY, INT_MIN, -4096},
        {"off-screen y kept", kAttrY, -100, -100},
        {"width 0", kAttrWidth, 0, 1},
        {"width 100000", kAttrWidth, 100000, 2048},
        {"height negative", kAttrHeight, -5, 1},
        {"every page kept", kAttrPage, -1, -1},
        {"page -7", kAttrPage, -7, 0},
        {"page 1000000", kAttrPage, 1000000, 9999},
        {"appearance 99", kAttrAppearance, 99, 2},
        {"appearance negative", kAttrAppearance, -3, 0},
        {"font height 0", kAttrFontHeight, 0, 1},
        {"font height 100000", kAttrFontHeight, 100000, 300},
        {"character height keeps its size", kAttrFontHeight, -12, 12},
        {"font height int min", kAttrFontHeight, INT_MIN, 300},
        {"label font 100000", kAttrLabelFontHeight, 100000, 300},
        {"alignment 7", kAttrAlign, 7, 0},
        {"image mode 4 kept", kAttrAlign, 4, 4},
    };
    for (const HostileValue& c : cases) {
        Store(kId, kAttrAutoPlace, 0);
        Store(kId, c.attribute, c.stored);
        ControlLayout layout;
        ReadControlLayout(device, kId, kPlain, layout);
        EXPECT_EQ(FieldOf(layout, c.attribute), c.expected) << c.what;
    }
}

TEST_F(LayoutStoreTest, AutoPlacedControlTakesOnlyItsAppearance) {
    Store(kId, kAttrAppearance, 1);
    Store(kId, kAttrX, 50);
    Store(kId, kAttrFontHeight, 12);
    ControlLayout layout; // auto-placed, no flag stored
    layout.placement.x = 2;
    ReadControlLayout(device, kId, kPlain, layout);
    EXPECT_TRUE(layout.autoPlace);
    EXPECT_EQ(layout.appearance, 1);
    EXPECT_EQ(layout.placement.x, 2);
    EXPECT_EQ(layout.fontHeight, 20);

    Store(kId, kAttrAutoPlace, 7); // any non-zero value is automatic
    layout.autoPlace = false;
    ReadControlLayout(device, kId, kPlain, layout);
    EXPECT_TRUE(layout.autoPlace);
    EXPECT_EQ(layout.placement.x, 2);
}

TEST_F(LayoutStoreTest, StoredPlacementKeepsCurrentValuesForAbsentEntriesButAlignDefaultsToZero) {
    Store(kId, kAttrAutoPlace, 0);
    Store(kId, kAttrPage, 3);
    Store(kId, kAttrLabelBold, 0);
    ControlLayout layout;
    layout.placement = {121, 61, 117, 26, 0};
    layout.align = 2;
    layout.imageHAlign = 3;
    ReadControlLayout(device, kId, kPlain, layout);
    EXPECT_FALSE(layout.autoPlace);
    EXPECT_EQ(layout.placement.x, 121);
    EXPECT_EQ(layout.placement.height, 26);
    EXPECT_EQ(layout.placement.page, 3);
    EXPECT_FALSE(layout.labelBold);
    EXPECT_EQ(layout.align, 0);
    EXPECT_EQ(layout.imageHAlign, 3) << "only an Image reads its placement modes";
}

TEST_F(LayoutStoreTest, OpenPlacementAndImageModesAreReadOnlyForTheirKinds) {
    Store(kId, kAttrAutoPlace, 0);
    Store(kId, kAttrXOpen, 40);
    Store(kId, kAttrPageOpen, 2);
    Store(kId, kAttrAlign, 2);
    Store(kId, kAttrImageHAlign, 4);

    ControlLayout plain;
    ReadControlLayout(device, kId, kPlain, plain);
    EXPECT_EQ(plain.open.x, 0);
    EXPECT_EQ(plain.imageHAlign, 0);

    ControlLayout section;
    ReadControlLayout(device, kId, kSection, section);
    EXPECT_EQ(section.open.x, 40);
    EXPECT_EQ(section.open.page, 2);
    EXPECT_EQ(section.placement.page, 0);

    ControlLayout image;
    ReadControlLayout(device, kId, kImage, image);
    EXPECT_EQ(image.imageHAlign, 4);
    EXPECT_EQ(image.imageVAlign, 2);
    EXPECT_EQ(image.align, 2);
}

TEST_F(LayoutStoreTest, WrittenControlReadsBackAndOnlySectionsStoreAnOpenPlacement) {
    ControlLayout written;
    written.autoPlace = false;
    written.placement = {2, 150, 100, 40, 3};
    written.open = {10, 20, 200, 30, 4};
    written.appearance = 1;
    written.fontHeight = 12;
    written.fontBold = true;
    written.border = true;
    written.showLabel = true;
    written.labelFontHeight = 14;
    written.labelBold = false;
    written.align = 2;
    WriteControlLayout(device, kId, kSection, written);
    WriteControlLayout(device, 0x13, kPlain, written);

    ControlLayout read;
    ReadControlLayout(device, kId, kSection, read);
    EXPECT_EQ(read.placement.y, 150);
    EXPECT_EQ(read.placement.page, 3);
    EXPECT_EQ(read.open.width, 200);
    EXPECT_EQ(read.open.page, 4);
    EXPECT_EQ(read.fontHeight, 12);
    EXPECT_TRUE(read.fontBold && read.border && read.showLabel);
    EXPECT_EQ(read.labelFontHeight, 14);
    EXPECT_FALSE(read.labelBold);
    EXPECT_EQ(read.align, 2);
    // The handheld never writes the horizontal image mode.
    EXPECT_EQ(Stored(kId, kAttrImageHAlign), INT_MIN);
    EXPECT_EQ(Stored(0x13, kAttrXOpen), INT_MIN);
    EXPECT_EQ(store.EntryCount(), 19u + 14u);
}

TEST_F(LayoutStoreTest, PageBarButtonUsesItsPseudoIdAndReadsAppearanceOnlyWhenPlaced) {
    const int32_t last = kPageBarIds[4];
    ControlLayout moved;
    moved.autoPlace = false;
    moved.placement = {2, 150, 57, 57, -1};
    moved.fontHeight = 16;
    WritePageBarLayout(device, last, moved);
    EXPECT_EQ(store.GetProfileInt(u"Pump", "FFFFFF0400000100", -1), 2);
    EXPECT_EQ(store.EntryCount(), 9u);

    ControlLayout read;
    read.fontBold = true;
    ReadPageBarLayout(device, last, read);
    EXPECT_FALSE(read.autoPlace);
    EXPECT_EQ(read.placement.y, 150);
    EXPECT_EQ(read.placement.page, -1);
    EXPECT_EQ(read.fontHeight, 16);
    EXPECT_FALSE(read.fontBold);

    Store(EntryId(kPageBarIds[0]), kAttrAppearance, 5);
    ControlLayout close;
    ReadPageBarLayout(device, kPageBarIds[0], close);
    EXPECT_EQ(close.appearance, 0);
}

TEST_F(LayoutStoreTest, DeviceWideValuesLocksAndPingPeriod) {
    DeviceLayoutValues fresh = ReadDeviceLayoutValues(device, 10);
    EXPECT_EQ(fresh.pingSeconds, 10);
    EXPECT_TRUE(fresh.layoutAllowed && fresh.pingsAllowed);
    EXPECT_FALSE(LayoutRequestMarked(device));

    Store(kDeviceWideId, kAttrLayoutLocked, 1);
    Store(kDeviceWideId, kAttrPingSeconds, -5);
    DeviceLayoutValues locked = ReadDeviceLayoutValues(device, 10);
    EXPECT_FALSE(locked.layoutAllowed);
    EXPECT_TRUE(locked.pingsAllowed);
    EXPECT_EQ(locked.pingSeconds, 0);
    Store(kDeviceWideId, kAttrPingSeconds, 100000);
    EXPECT_EQ(ReadDeviceLayoutValues(device, 0).pingSeconds, 3600);

    WriteDeviceLayoutValues(device, {0, true, false});
    EXPECT_EQ(Stored(kDeviceWideId, kAttrPingSeconds), 0);
    EXPECT_EQ(Stored(kDeviceWideId, kAttrLayoutLocked), 0);
    EXPECT_EQ(Stored(kDeviceWideId, kAttrPingsLocked), 1);
    MarkLayoutRequested(device);
    EXPECT_TRUE(LayoutRequestMarked(device));
}

TEST_F(LayoutStoreTest, StoredPagesNameOnlyStoredPlacements) {
    std::vector<StoredControl> controls(4);
    controls[0].id = 1; // saved while automatic: its page is the flow's own
    Store(1, kAttrAutoPlace, 1);
    Store(1, kAttrPage, 0);
    controls[1].id = 2; // moved to page 3
    Store(2, kAttrAutoPlace, 0);
    Store(2, kAttrPage, 3);
    controls[2].id = 3; // a Section from the device: both pages
    controls[2].traits = kSection;
    Store(3, kAttrAutoPlace, 0);
    Store(3, kAttrPage, -1);
    Store(3, kAttrPageOpen, 1000000);
    controls[3].id = 4; // no flag stored: its current flag decides
    controls[3].layout.autoPlace = false;
    Store(4, kAttrPage, 1);
    Store(9, kAttrAutoPlace, 0); // not in the panel
    Store(9, kAttrPage, 5);

    EXPECT_EQ(StoredPages(device, controls), (std::set<int32_t>{1, 3, 9999}));
}

TEST_F(LayoutStoreTest, WholePanelRoundTripsAndAFreshDefaultLayoutStoresEveryEntry) {
    PanelLayout panel;
    panel.device.pingSeconds = 10;
    for (uint32_t id = 1; id <= 3; ++id) {
        StoredControl control;
        control.id = id;
        control.layout.placement.x = static_cast<int32_t>(id) * 10;
        panel.controls.push_back(control);
    }
    panel.pageBar[4].placement = {240, -100, 57, 57, -1};
    EXPECT_TRUE(WritePanelLayout(device, panel));
    EXPECT_EQ(store.EntryCount(), 3u + 3 * 14u + 5 * 9u);
    EXPECT_EQ(store.CommitCount(), 1u);
    EXPECT_EQ(Stored(2, kAttrAutoPlace), 1);
    EXPECT_EQ(Stored(2, kAttrX), 20);
    EXPECT_EQ(Stored(EntryId(-252), kAttrX), 240);

    // Placed by the stored layout, then read back over other current values.
    Store(2, kAttrAutoPlace, 0);
    Store(EntryId(-252), kAttrAutoPlace, 0);
    PanelLayout read = panel;
    read.controls[1].layout.placement.x = 0;
    read.pageBar[4].placement.y = 0;
    ReadPanelLayout(device, read);
    EXPECT_EQ(read.device.pingSeconds, 10);
    EXPECT_EQ(read.controls[1].layout.placement.x, 20);
    EXPECT_EQ(read.pageBar[4].placement.y, -100);

    store.SetCommitFails(true);
    EXPECT_FALSE(WritePanelLayout(device, panel)) << "a read-only settings file is told";
}

} // namespace
} // namespace ksv

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

TEST_F(LayoutStoreTest, HostileStoredValuesAreBroughtIntoRange) {
    struct Case {
        uint32_t attribute;
        int32_t stored;
        int32_t expected;
    };
    const Case cases[] = {
        {kAttrX, INT_MAX, 4096},
        {kAttrY, INT_MIN, -4096},
        {kAttrY, -100, -100},
        {kAttrWidth, 0, 1},
        {kAttrWidth, 100000, 2048},
        {kAttrHeight, -5, 1},
        {kAttrPage, -1, -1},
        {kAttrPage, -7, 0},
        {kAttrPage, 1000000, 9999},
        {kAttrAppearance, 99, 0},
        {kAttrAppearance, -3, 0},
        {kAttrFontHeight, 0, 1},
        {kAttrFontHeight, 100000, 300},
        {kAttrFontHeight, -12, 12},
        {kAttrFontHeight, INT_MIN, 300},
        {kAttrLabelFontHeight, 100000, 300},
        {kAttrAlign, 7, 0},
        {kAttrAlign, 4, 4},
    };
    for (const Case& c : cases) {
        Store(kId, kAttrAutoPlace, 0);
        Store(kId, c.attribute, c.stored);
        ControlLayout layout;
        ReadControlLayout(device, kId, kPlain, layout);
        // Written back, the value read shows under its own attribute.
        MemorySettingsStore copy;
        DeviceSettings copied(copy, [] { return std::u16string(u"Pump"); });
        WriteControlLayout(copied, kId, kPlain, layout);
        EXPECT_EQ(copied.GetDeviceInt(kId, c.attribute, INT_MIN), c.expected)
            << "attribute " << c.attribute << " stored " << c.stored;
    }
}

TEST_F(LayoutStoreTest, OnlyAStoredZeroFlagLoadsMoreThanTheAppearance) {
    Store(kId, kAttrAppearance, 1);
    Store(kId, kAttrX, 50);
    ControlLayout layout; // auto-placed, no flag stored
    layout.placement.x = 2;
    ReadControlLayout(device, kId, kPlain, layout);
    EXPECT_TRUE(layout.autoPlace);
    EXPECT_EQ(layout.appearance, 1);
    EXPECT_EQ(layout.placement.x, 2);

    Store(kId, kAttrAutoPlace, 7); // any non-zero value is automatic
    layout.autoPlace = false;
    ReadControlLayout(device, kId, kPlain, layout);
    EXPECT_TRUE(layout.autoPlace);
    EXPECT_EQ(layout.placement.x, 2);

    Store(kId, kAttrAutoPlace, 0);
    layout.placement = {121, 61, 117, 26, 0};
    layout.align = 2;
    ReadControlLayout(device, kId, kPlain, layout);
    EXPECT_EQ(layout.placement.x, 50);
    EXPECT_EQ(layout.placement.height, 26) << "an absent entry keeps the current value";
    EXPECT_EQ(layout.align, 0) << "but the alignment defaults to 0";
}

TEST_F(LayoutStoreTest, OpenPlacementAndImageModesBelongToTheirKinds) {
    Store(kId, kAttrAutoPlace, 0);
    Store(kId, kAttrPageOpen, 2);
    Store(kId, kAttrAlign, 2);
    Store(kId, kAttrImageHAlign, 4);
    ControlLayout plain, section, image;
    ReadControlLayout(device, kId, kPlain, plain);
    ReadControlLayout(device, kId, kSection, section);
    ReadControlLayout(device, kId, kImage, image);
    EXPECT_EQ(plain.open.page, 0);
    EXPECT_EQ(plain.imageHAlign, 0);
    EXPECT_EQ(section.open.page, 2);
    EXPECT_EQ(section.placement.page, 0);
    EXPECT_EQ(image.imageHAlign, 4);
    EXPECT_EQ(image.imageVAlign, 2);

    MemorySettingsStore written;
    DeviceSettings out(written, [] { return std::u16string(u"Pump"); });
    WriteControlLayout(out, 1, kSection, section);
    WriteControlLayout(out, 2, kImage, image);
    EXPECT_EQ(written.EntryCount(), 19u + 14u);
    EXPECT_EQ(out.GetDeviceInt(1, kAttrPageOpen, -9), 2);
    EXPECT_EQ(out.GetDeviceInt(2, kAttrImageHAlign, -9), -9) << "never written by the handheld";
}

TEST_F(LayoutStoreTest, PageBarButtonUsesItsPseudoIdAndNineEntries) {
    ControlLayout moved;
    moved.autoPlace = false;
    moved.placement = {2, 150, 57, 57, -1};
    WritePageBarLayout(device, kPageBarIds[4], moved);
    EXPECT_EQ(store.GetProfileInt(u"Pump", "FFFFFF0400000100", -1), 2);
    EXPECT_EQ(store.EntryCount(), 9u);
    ControlLayout read;
    ReadPageBarLayout(device, kPageBarIds[4], read);
    EXPECT_EQ(read.placement.page, -1);
    EXPECT_EQ(read.placement.y, 150);
}

TEST_F(LayoutStoreTest, DeviceWideLocksAndPingPeriod) {
    EXPECT_EQ(ReadDeviceLayoutValues(device, 10).pingSeconds, 10);
    Store(kDeviceWideId, kAttrLayoutLocked, 1);
    Store(kDeviceWideId, kAttrPingSeconds, -5);
    const DeviceLayoutValues locked = ReadDeviceLayoutValues(device, 10);
    EXPECT_FALSE(locked.layoutAllowed);
    EXPECT_TRUE(locked.pingsAllowed);
    EXPECT_EQ(locked.pingSeconds, 0);
    Store(kDeviceWideId, kAttrPingSeconds, 100000);
    EXPECT_EQ(ReadDeviceLayoutValues(device, 0).pingSeconds, 3600);
    WriteDeviceLayoutValues(device, {0, true, false});
    EXPECT_EQ(Stored(kDeviceWideId, kAttrPingsLocked), 1);
}

TEST_F(LayoutStoreTest, WholePanelIsOneCommitReadsBackAndTellsAFailedWrite) {
    PanelLayout panel;
    panel.device.pingSeconds = 10;
    panel.controls.resize(3);
    for (uint32_t id = 1; id <= 3; ++id) {
        panel.controls[id - 1].id = id;
        panel.controls[id - 1].layout.placement.x = static_cast<int32_t>(id) * 10;
    }
    panel.pageBar[4].placement = {240, -100, 57, 57, -1};
    EXPECT_TRUE(WritePanelLayout(device, panel));
    EXPECT_EQ(store.CommitCount(), 1u);
    EXPECT_EQ(store.EntryCount(), 3u + 3 * 14u + 5 * 9u);
    EXPECT_EQ(Stored(2, kAttrAutoPlace), 1);

    Store(2, kAttrAutoPlace, 0);
    Store(EntryId(-252), kAttrAutoPlace, 0);
    PanelLayout read = panel;
    read.controls[1].layout.placement.x = 0;
    read.pageBar[4].placement.y = 0;
    ReadPanelLayout(device, read);
    EXPECT_EQ(read.controls[1].layout.placement.x, 20);
    EXPECT_EQ(read.pageBar[4].placement.y, -100);

    store.SetCommitFails(true);
    EXPECT_FALSE(WritePanelLayout(device, panel)) << "a read-only settings file is told";
}

} // namespace
} // namespace ksv

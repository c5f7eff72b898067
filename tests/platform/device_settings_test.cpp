#include "platform/device_settings.h"
#include "platform/error_reporter.h"
#include "platform/memory_settings_store.h"

#include <gtest/gtest.h>

namespace ksv {
namespace {

TEST(DeviceKey, FormatsIdAndAttributeAsSixteenHexDigits) {
    EXPECT_EQ(DeviceKey(0x12, 320), "0000001200000140");
    EXPECT_EQ(DeviceKey(static_cast<uint32_t>(-256), 256), "FFFFFF0000000100");
    EXPECT_EQ(DeviceKey(0xABCDEF01u, 0xFFFFFFFFu), "ABCDEF01FFFFFFFF");
}

TEST(DeviceSettings, SectionFollowsTheDeviceNameAtEachCall) {
    MemorySettingsStore store;
    std::u16string name;
    DeviceSettings settings(store, [&] { return name; });

    settings.WriteDeviceInt(0, 768, 5); // before a name: the global section
    EXPECT_EQ(store.GetProfileInt(kGlobalSection, "0000000000000300", -1), 5);

    name = u"Pump A";
    settings.WriteDeviceInt(0x12, 320, 2);
    name = u"Pump B";
    EXPECT_EQ(settings.GetDeviceInt(0x12, 320, -7), -7);
    settings.WriteDeviceInt(0x12, 320, 3);
    name = u"Pump A";
    EXPECT_EQ(settings.GetDeviceInt(0x12, 320, -7), 2);
}

TEST(DeviceSettings, HasDeviceIntSeesEveryStoredValueIncludingOneAndTwo) {
    MemorySettingsStore store;
    DeviceSettings settings(store, [] { return std::u16string(u"dev"); });
    EXPECT_FALSE(settings.HasDeviceInt(7, 512));
    for (int32_t value : {1, 2, 0, -1}) {
        settings.WriteDeviceInt(7, 512, value);
        EXPECT_TRUE(settings.HasDeviceInt(7, 512)) << value;
    }
}

TEST(ErrorReport, UsesTheFixedPattern) {
    EXPECT_EQ(FormatErrorReport(412, kLinkModule, -1), "At 412 file KsvBthPPCVComClt, val=-1");
}

} // namespace
} // namespace ksv

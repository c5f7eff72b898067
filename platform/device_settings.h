#pragma once

#include "platform/settings_store.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace ksv {

// Entry name of a per-device value: "%08X%08X" of the id and the attribute. Pseudo ids such
// as -256 are passed in two's complement (0xFFFFFF00).
std::string DeviceKey(uint32_t id, uint32_t attribute);

// Per-device values, in the section named after the connected device. The section is taken
// from the device-name source at the moment of each call.
//
// Thread contract: as thread-safe as the SettingsStore and the name source beneath it.
class DeviceSettings {
public:
    using NameSource = std::function<std::u16string()>;

    DeviceSettings(SettingsStore& store, NameSource deviceName);

    int32_t GetDeviceInt(uint32_t id, uint32_t attribute, int32_t defaultValue) const;
    void WriteDeviceInt(uint32_t id, uint32_t attribute, int32_t value);
    // As WriteDeviceInt, but a new entry is refused (false) once the section holds
    // `maxSectionEntries`.
    bool WriteDeviceIntWithin(uint32_t id, uint32_t attribute, int32_t value,
                              size_t maxSectionEntries);
    // True when the entry exists: two reads with the defaults 1 and 2 agree.
    bool HasDeviceInt(uint32_t id, uint32_t attribute) const;

    std::u16string Section() const;
    // The store beneath, for a SettingsBatch around many writes.
    SettingsStore& Store() const { return m_store; }

private:
    SettingsStore& m_store;
    NameSource m_deviceName;
};

} // namespace ksv

#include "platform/device_settings.h"

#include <cstdio>
#include <utility>

namespace ksv {

std::string DeviceKey(uint32_t id, uint32_t attribute) {
    char key[17];
    std::snprintf(key, sizeof key, "%08X%08X", static_cast<unsigned>(id),
                  static_cast<unsigned>(attribute));
    return key;
}

DeviceSettings::DeviceSettings(SettingsStore& store, NameSource deviceName)
    : m_store(store), m_deviceName(std::move(deviceName)) {}

std::u16string DeviceSettings::Section() const {
    std::u16string name = m_deviceName ? m_deviceName() : std::u16string();
    return name.empty() ? kGlobalSection : name;
}

int32_t DeviceSettings::GetDeviceInt(uint32_t id, uint32_t attribute, int32_t defaultValue) const {
    return m_store.GetProfileInt(Section(), DeviceKey(id, attribute), defaultValue);
}

void DeviceSettings::WriteDeviceInt(uint32_t id, uint32_t attribute, int32_t value) {
    m_store.WriteProfileInt(Section(), DeviceKey(id, attribute), value);
}

bool DeviceSettings::WriteDeviceIntWithin(uint32_t id, uint32_t attribute, int32_t value,
                                          size_t maxSectionEntries) {
    return m_store.WriteProfileIntWithin(Section(), DeviceKey(id, attribute), value,
                                         maxSectionEntries);
}

bool DeviceSettings::HasDeviceInt(uint32_t id, uint32_t attribute) const {
    const std::u16string section = Section();
    const std::string key = DeviceKey(id, attribute);
    return m_store.GetProfileInt(section, key, 1) == m_store.GetProfileInt(section, key, 2);
}

} // namespace ksv

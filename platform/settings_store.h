#pragma once

#include <cstdint>
#include <string>

namespace ksv {

// The application's profile: 32-bit integers under (section, key).
//
// Thread contract: implementations are safe to call from any thread; the receive thread
// writes layout entries while the GUI thread reads. A missing entry yields the default;
// the store never reports errors.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual int32_t GetProfileInt(const std::u16string& section, const std::string& key,
                                  int32_t defaultValue) const = 0;
    virtual void WriteProfileInt(const std::u16string& section, const std::string& key,
                                 int32_t value) = 0;
};

// Name of the global section, and the section used until a device has named itself.
inline const std::u16string kGlobalSection = u"Kestrovane";

} // namespace ksv

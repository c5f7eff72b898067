#pragma once

#include "platform/settings_store.h"

#include <QString>

#include <memory>
#include <optional>

class QSettings;

namespace ksv {

// $XDG_CONFIG_HOME/Kestrovane/Kestrovane.conf, or ~/.config/Kestrovane/Kestrovane.conf when
// XDG_CONFIG_HOME is unset or empty.
QString DefaultSettingsPath();

// Group name of a section in the INI file. The global section keeps its plain name so that
// scripts can preset it ("[Kestrovane]"); every other section is "Device_" followed by its
// UTF-16 code units, with a-z and 0-9 kept and everything else written as "_" and four
// upper-case hex digits. The result uses only characters the INI format stores verbatim, has
// no '/' (which would nest groups), and stays distinct under case folding, so two sections
// share a group only when their names are equal.
QString SectionGroup(const std::u16string& section);
// Inverse of SectionGroup; nullopt for a group name SectionGroup never produces.
std::optional<std::u16string> SectionFromGroup(const QString& group);

// The settings profile as an INI file.
//
// Thread contract: any thread (the receive thread writes layout entries), as SettingsStore says.
// A commit replaces the file whole through a temporary file and a rename, so a reader sees
// either the old or the new file, never a partial one. A file found unreadable on opening is
// copied aside ("<file>.unreadable") and written again with the entries that could be read.
class QtSettingsStore : public SettingsStore {
public:
    explicit QtSettingsStore(const QString& filePath);
    ~QtSettingsStore() override;
    QtSettingsStore(const QtSettingsStore&) = delete;
    QtSettingsStore& operator=(const QtSettingsStore&) = delete;

    QString FilePath() const;

protected:
    bool ReadValue(const std::u16string& section, const std::string& key,
                   int32_t& value) const override;
    void StoreValue(const std::u16string& section, const std::string& key, int32_t value) override;
    bool Commit() override;
    size_t CountEntries(const std::u16string& section) const override;

private:
    void RewriteUnreadableFile();
    // "<group>/<key>"; called with the store's mutex held.
    QString SettingsKey(const std::u16string& section, const std::string& key) const;

    QString m_filePath;
    mutable std::u16string m_cachedSection;
    mutable std::optional<QString> m_cachedGroup;
    std::unique_ptr<QSettings> m_settings;
};

} // namespace ksv

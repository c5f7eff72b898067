#include "platform/qt/qt_settings_store.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QSettings>

#include <utility>
#include <vector>

namespace ksv {
namespace {

const QString kDevicePrefix = QStringLiteral("Device_");
constexpr char16_t kEscape = u'_';

bool IsVerbatim(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}

int HexDigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// QSettings syncs on its own from a posted event, on the thread that created it and outside
// our mutex. The store commits itself, so that deferred sync is swallowed.
class ImmediateSettings : public QSettings {
public:
    explicit ImmediateSettings(const QString& filePath)
        : QSettings(filePath, QSettings::IniFormat) {
        setAtomicSyncRequired(true);
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::UpdateRequest)
            return true;
        return QSettings::event(event);
    }
};

// Beside the file: its name with this suffix, numbered when an earlier copy is there.
QString FreeCopyName(const QString& filePath) {
    const QString base = filePath + QStringLiteral(".unreadable");
    QString name = base;
    for (int n = 1; QFile::exists(name); ++n) {
        name = base + QString::number(n);
    }
    return name;
}

} // namespace

QString DefaultSettingsPath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Kestrovane/Kestrovane.conf");
}

QString SectionGroup(const std::u16string& section) {
    if (section == kGlobalSection)
        return QString::fromStdU16String(section);
    QString group = kDevicePrefix;
    for (char16_t c : section) {
        if (IsVerbatim(c)) {
            group += QChar(c);
            continue;
        }
        group += QChar(kEscape);
        group += QStringLiteral("%1").arg(static_cast<unsigned>(c), 4, 16, QChar(u'0')).toUpper();
    }
    return group;
}

std::optional<std::u16string> SectionFromGroup(const QString& group) {
    const std::u16string global = kGlobalSection;
    if (group == QString::fromStdU16String(global))
        return global;
    if (!group.startsWith(kDevicePrefix))
        return std::nullopt;
    std::u16string section;
    for (qsizetype i = kDevicePrefix.size(); i < group.size(); ++i) {
        const char16_t c = group[i].unicode();
        if (IsVerbatim(c)) {
            section += c;
            continue;
        }
        if (c != kEscape || i + 4 >= group.size())
            return std::nullopt;
        unsigned code = 0;
        for (int d = 1; d <= 4; ++d) {
            const int v = HexDigitValue(group[i + d]);
            if (v < 0)
                return std::nullopt;
            code = code * 16 + static_cast<unsigned>(v);
        }
        section += static_cast<char16_t>(code);
        i += 4;
    }
    // A name that SectionGroup keeps plain never appears encoded.
    if (section == global)
        return std::nullopt;
    return section;
}

QtSettingsStore::QtSettingsStore(const QString& filePath)
    : m_filePath(filePath), m_settings(std::make_unique<ImmediateSettings>(filePath)) {
    if (m_settings->status() == QSettings::FormatError) {
        RewriteUnreadableFile();
    }
}

// The next commit would rewrite the file with only the entries that could be read, and report
// a failure all the same: the text is kept beside it first, then the file is written clean.
void QtSettingsStore::RewriteUnreadableFile() {
    const QString copy = FreeCopyName(m_filePath);
    if (!QFile::copy(m_filePath, copy)) {
        qWarning("settings file %s cannot be read, nor copied aside", qPrintable(m_filePath));
        return;
    }
    qWarning("settings file %s cannot be read; kept as %s and written again with what could be "
             "read",
             qPrintable(m_filePath), qPrintable(copy));
    std::vector<std::pair<QString, QVariant>> readable;
    for (const QString& key : m_settings->allKeys()) {
        readable.emplace_back(key, m_settings->value(key));
    }
    m_settings.reset();
    QFile::remove(m_filePath);
    m_settings = std::make_unique<ImmediateSettings>(m_filePath);
    for (const auto& [key, value] : readable) {
        m_settings->setValue(key, value);
    }
    m_settings->sync();
}

QtSettingsStore::~QtSettingsStore() = default;

// A layout reads or writes thousands of keys of one section in a row; its group is made once.
QString QtSettingsStore::SettingsKey(const std::u16string& section, const std::string& key) const {
    if (!m_cachedGroup || m_cachedSection != section) {
        m_cachedSection = section;
        m_cachedGroup = SectionGroup(section) + u'/';
    }
    return *m_cachedGroup + QLatin1String(key.data(), static_cast<qsizetype>(key.size()));
}

bool QtSettingsStore::ReadValue(const std::u16string& section, const std::string& key,
                                int32_t& value) const {
    const QVariant stored = m_settings->value(SettingsKey(section, key));
    if (!stored.isValid())
        return false;
    bool ok = false;
    const int number = stored.toString().trimmed().toInt(&ok);
    if (ok)
        value = number;
    return ok;
}

void QtSettingsStore::StoreValue(const std::u16string& section, const std::string& key,
                                 int32_t value) {
    m_settings->setValue(SettingsKey(section, key), static_cast<int>(value));
}

bool QtSettingsStore::Commit() {
    if (m_settings->status() == QSettings::NoError) {
        m_settings->sync();
        return m_settings->status() == QSettings::NoError;
    }
    // QSettings keeps an error for good. A fresh instance, made before the old one goes,
    // shares its cached file with the unwritten values and commits them as it opens.
    auto fresh = std::make_unique<ImmediateSettings>(m_filePath);
    m_settings = std::move(fresh);
    return m_settings->status() == QSettings::NoError;
}

size_t QtSettingsStore::CountEntries(const std::u16string& section) const {
    m_settings->beginGroup(SectionGroup(section));
    const auto count = static_cast<size_t>(m_settings->childKeys().size());
    m_settings->endGroup();
    return count;
}

QString QtSettingsStore::FilePath() const {
    std::lock_guard<std::mutex> lock(Mutex());
    return m_settings->fileName();
}

} // namespace ksv

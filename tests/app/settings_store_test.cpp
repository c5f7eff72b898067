#include "platform/device_settings.h"
#include "platform/qt/qt_settings_store.h"
#include "temp_config.h"

#include <QSettings>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace ksv {
namespace {

int32_t Global(const QtSettingsStore& store, const char* key, int32_t defaultValue) {
    return store.GetProfileInt(kGlobalSection, key, defaultValue);
}

TEST(QtSettingsStore, FirstRunYieldsTheCallersDefaultsAndCreatesNoFile) {
    TempConfig config;
    QtSettingsStore store(config.Path());
    EXPECT_EQ(Global(store, "m_iComIncoming", 0), 0);
    EXPECT_EQ(Global(store, "m_iComOutGoing", 0), 0);
    EXPECT_EQ(Global(store, "m_AlwaysReload", 1), 1);
    EXPECT_EQ(Global(store, "m_PermitInbound", 0), 0);
    EXPECT_FALSE(QFile::exists(config.Path()));
}

TEST(QtSettingsStore, ReadsAPresetPlainGlobalSection) {
    TempConfig config;
    config.Preset("[Kestrovane]\nm_iComOutGoing=8\nm_iComIncoming=5\nm_AlwaysReload=0\n"
                  "m_PermitInbound=1\nbroken=eight\n");
    QtSettingsStore store(config.Path());
    EXPECT_EQ(Global(store, "m_iComOutGoing", 0), 8);
    EXPECT_EQ(Global(store, "m_iComIncoming", 0), 5);
    EXPECT_EQ(Global(store, "m_AlwaysReload", 1), 0);
    EXPECT_EQ(Global(store, "m_PermitInbound", 0), 1);
    EXPECT_EQ(Global(store, "broken", -3), -3); // not a number: the default
}

TEST(QtSettingsStore, GlobalKeysAreWrittenAsPlainIniSoScriptsCanReadThem) {
    TempConfig config;
    QtSettingsStore store(config.Path()); // the folder does not exist yet
    store.WriteProfileInt(kGlobalSection, "m_iComOutGoing", 8);
    store.WriteProfileInt(kGlobalSection, "m_iComIncoming", -1);
    const QByteArray text = config.Contents();
    EXPECT_TRUE(text.contains("[Kestrovane]\n")) << text.constData();
    EXPECT_TRUE(text.contains("\nm_iComOutGoing=8\n")) << text.constData();
    EXPECT_TRUE(text.contains("m_iComIncoming=-1")) << text.constData();
}

TEST(QtSettingsStore, EveryWriteIsVisibleAtOnceToAFreshReader) {
    TempConfig config;
    QtSettingsStore store(config.Path());
    for (int32_t value : {5, 0, -256, 2147483647}) {
        store.WriteProfileInt(kGlobalSection, "m_iComIncoming", value);
        store.WriteProfileInt(u"Pump A", DeviceKey(0x12, 320), value);
        QSettings reader(config.Path(), QSettings::IniFormat);
        EXPECT_EQ(reader.value("Kestrovane/m_iComIncoming").toInt(), value);
        QtSettingsStore other(config.Path());
        EXPECT_EQ(Global(other, "m_iComIncoming", 99), value);
        EXPECT_EQ(other.GetProfileInt(u"Pump A", DeviceKey(0x12, 320), 99), value);
    }
}

TEST(QtSettingsStore, DeviceNamesRoundTripAndShareASectionOnlyWhenEqual) {
    const std::vector<std::u16string> names = {
        u"Pump A", u"pump a",     u"PUMP A",     u"a/b",     u"a\\b",        u"[x]",
        u"k=v",    u"%41",        u"Device_",    u"_0041",   u"A",           u"Grüße 温度",
        u"",       u"Kestrovane", u"kestrovane", u"General", u"x;y#z,\"q\"", u"a//b"};
    TempConfig config;
    {
        QtSettingsStore store(config.Path());
        for (size_t i = 0; i < names.size(); ++i)
            store.WriteProfileInt(names[i], DeviceKey(1, 256), static_cast<int32_t>(i + 100));
    }
    QtSettingsStore reopened(config.Path());
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(reopened.GetProfileInt(names[i], DeviceKey(1, 256), -1),
                  static_cast<int32_t>(i + 100))
            << QString::fromStdU16String(names[i]).toStdString();
    }
    // The device that never named itself writes into the plain global section.
    QSettings reader(config.Path(), QSettings::IniFormat);
    EXPECT_EQ(reader.value("Kestrovane/0000000100000100").toInt(), 113);
    EXPECT_EQ(reader.childGroups().size(), static_cast<qsizetype>(names.size()));
}

TEST(QtSettingsStore, SectionGroupsDecodeBackAndRefuseForeignNames) {
    for (const std::u16string name : {u"", u"Pump A", u"a/b=[c]", u"\xD800 lone", u"Kestrovane"}) {
        const QString group = SectionGroup(name);
        EXPECT_FALSE(group.contains(u'/'));
        const auto decoded = SectionFromGroup(group);
        ASSERT_TRUE(decoded.has_value()) << group.toStdString();
        EXPECT_EQ(*decoded, name);
    }
    EXPECT_EQ(SectionGroup(kGlobalSection), QStringLiteral("Kestrovane"));
    EXPECT_FALSE(SectionFromGroup(QStringLiteral("Other")).has_value());
    EXPECT_FALSE(SectionFromGroup(QStringLiteral("Device__00")).has_value());
    EXPECT_FALSE(SectionFromGroup(QStringLiteral("Device__00zz")).has_value());
    EXPECT_FALSE(SectionFromGroup(QStringLiteral("Device_A")).has_value());
    EXPECT_FALSE(SectionFromGroup(SectionGroup(u"X") + QStringLiteral("_")).has_value());
}

// The file is replaced whole: a reader polling it while entries are added never sees a
// truncated or half-written file, and never fewer entries than it saw before.
TEST(QtSettingsStore, ConcurrentReadersNeverObserveAPartialFile) {
    TempConfig config;
    QtSettingsStore store(config.Path());
    store.WriteProfileInt(u"dev", DeviceKey(0, 0), 1);
    constexpr int kWrites = 150;

    std::atomic<bool> done{false};
    std::atomic<int> partial{0};
    std::atomic<int> observed{0};
    std::thread reader([&] {
        int lastCount = 0;
        while (!done.load()) {
            QFile file(config.Path());
            if (!file.open(QIODevice::ReadOnly)) {
                partial++;
                continue;
            }
            const QByteArray text = file.readAll();
            const int count = static_cast<int>(text.count("=")); // one per entry
            if (!text.startsWith("[Device_dev]\n") || !text.endsWith("\n") || count < lastCount)
                partial++;
            lastCount = count;
            observed++;
        }
    });
    for (int i = 1; i <= kWrites; ++i)
        store.WriteProfileInt(u"dev", DeviceKey(static_cast<uint32_t>(i), 256), i);
    done = true;
    reader.join();

    EXPECT_EQ(partial.load(), 0);
    EXPECT_GT(observed.load(), 0);
    EXPECT_EQ(static_cast<int>(config.Contents().count("=")), kWrites + 1);
}

ino_t Inode(const QString& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.toLocal8Bit().constData(), &info), 0);
    return info.st_ino;
}

// Each write puts a new file in place (written aside, then renamed over the old one) instead
// of rewriting the old file where it stands.
TEST(QtSettingsStore, AWriteReplacesTheFileRatherThanRewritingIt) {
    TempConfig config;
    QtSettingsStore store(config.Path());
    store.WriteProfileInt(kGlobalSection, "m_iComOutGoing", 8);
    const ino_t before = Inode(config.Path());
    store.WriteProfileInt(kGlobalSection, "m_iComOutGoing", 9);
    EXPECT_NE(Inode(config.Path()), before);
    const QStringList left = QDir(QFileInfo(config.Path()).path()).entryList(QDir::Files);
    EXPECT_EQ(left, QStringList{QStringLiteral("Kestrovane.conf")}); // no temporary left behind
}

// Inside a batch nothing reaches the file until the outermost batch ends; another thread's
// write is not held back and takes the batched values along.
TEST(QtSettingsStore, ABatchCommitsOnceAtItsOutermostEnd) {
    TempConfig config;
    QtSettingsStore store(config.Path());
    {
        SettingsBatch outer(store);
        {
            SettingsBatch inner(store);
            store.WriteProfileInt(u"dev", "a", 1);
        }
        EXPECT_FALSE(QFile::exists(config.Path()));
        EXPECT_EQ(store.GetProfileInt(u"dev", "a", -1), 1);
        std::thread([&] { store.WriteProfileInt(u"dev", "b", 2); }).join();
        EXPECT_TRUE(config.Contents().contains("a=1\nb=2\n")) << config.Contents().constData();
        const ino_t committed = Inode(config.Path());
        store.WriteProfileInt(u"dev", "c", 3);
        EXPECT_EQ(Inode(config.Path()), committed);
    }
    EXPECT_TRUE(config.Contents().contains("c=3")) << config.Contents().constData();
    EXPECT_FALSE(store.LastWriteFailed());
}

TEST(QtSettingsStore, AFailedWriteIsToldKeepsTheValuesAndIsRetried) {
    TempConfig config;
    const QString blocker = config.Folder() + QStringLiteral("/blocker");
    QFile(blocker).open(QIODevice::WriteOnly); // a file where the folder should be
    const QString path = blocker + QStringLiteral("/Kestrovane.conf");
    QtSettingsStore store(path);
    store.WriteProfileInt(kGlobalSection, "m_iComOutGoing", 8);
    EXPECT_TRUE(store.LastWriteFailed());
    EXPECT_EQ(Global(store, "m_iComOutGoing", 0), 8);

    ASSERT_TRUE(QFile::remove(blocker));
    store.WriteProfileInt(kGlobalSection, "m_iComIncoming", 5);
    EXPECT_FALSE(store.LastWriteFailed());
    QtSettingsStore reopened(path);
    EXPECT_EQ(Global(reopened, "m_iComOutGoing", 0), 8);
    EXPECT_EQ(Global(reopened, "m_iComIncoming", 0), 5);
}

// A file edited by hand into something the parser cannot read keeps its text aside; what could
// be read stays, and writes succeed from the first one on.
TEST(QtSettingsStore, AnUnreadableFileIsKeptAsideAndWrittenCleanWithWhatCouldBeRead) {
    TempConfig config;
    const QByteArray garbage("[Kestrovane]\nm_iComOutGoing=8\n[Device_x\nhand edit\n\x01\xff=3\n");
    config.Preset(garbage);
    QtSettingsStore store(config.Path());
    EXPECT_EQ(Global(store, "m_iComOutGoing", 0), 8);
    store.WriteProfileInt(u"dev", "k", 5);
    EXPECT_FALSE(store.LastWriteFailed());
    QFile copy(config.Path() + QStringLiteral(".unreadable"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), garbage);
    QtSettingsStore reopened(config.Path());
    EXPECT_EQ(Global(reopened, "m_iComOutGoing", 0), 8);
    EXPECT_EQ(reopened.GetProfileInt(u"dev", "k", 0), 5);
    EXPECT_FALSE(QFile::exists(config.Path() + QStringLiteral(".unreadable1")));
}

TEST(QtSettingsStore, WritersOnSeveralThreadsLoseNothing) {
    TempConfig config;
    QtSettingsStore store(config.Path());
    constexpr int kThreads = 3;
    constexpr int kPerThread = 40;
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([&store, t] {
            for (int i = 0; i < kPerThread; ++i)
                store.WriteProfileInt(u"dev", DeviceKey(static_cast<uint32_t>(t), i), t * 1000 + i);
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    QtSettingsStore reopened(config.Path());
    for (int t = 0; t < kThreads; ++t) {
        for (int i = 0; i < kPerThread; ++i) {
            EXPECT_EQ(reopened.GetProfileInt(u"dev", DeviceKey(static_cast<uint32_t>(t), i), -1),
                      t * 1000 + i);
        }
    }
}

TEST(QtSettingsStore, DeviceSettingsOnTopKeepDevicesApart) {
    TempConfig config;
    QtSettingsStore store(config.Path());
    std::u16string name = u"Pump A";
    DeviceSettings settings(store, [&] { return name; });
    settings.WriteDeviceInt(0x12, 320, 7);
    name = u"pump a";
    EXPECT_FALSE(settings.HasDeviceInt(0x12, 320));
    settings.WriteDeviceInt(0x12, 320, 2);
    name = u"Pump A";
    EXPECT_EQ(settings.GetDeviceInt(0x12, 320, -1), 7);
    EXPECT_TRUE(config.Contents().contains("0000001200000140=7"));
}

TEST(DefaultSettingsPath, FollowsXdgConfigHome) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/cfg-test");
    EXPECT_EQ(DefaultSettingsPath(), QStringLiteral("/tmp/cfg-test/Kestrovane/Kestrovane.conf"));
    qputenv("XDG_CONFIG_HOME", "");
    EXPECT_EQ(DefaultSettingsPath(), QDir::homePath() + "/.config/Kestrovane/Kestrovane.conf");
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
}

} // namespace
} // namespace ksv

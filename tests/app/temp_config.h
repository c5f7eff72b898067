#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A settings file in a fresh temporary folder, optionally preset with INI text.
class TempConfig {
public:
    TempConfig() { EXPECT_TRUE(m_dir.isValid()); }

    QString Path() const { return m_dir.filePath(QStringLiteral("Kestrovane/Kestrovane.conf")); }
    QString Folder() const { return m_dir.path(); }

    void Preset(const QByteArray& ini) const {
        EXPECT_TRUE(QDir().mkpath(m_dir.filePath(QStringLiteral("Kestrovane"))));
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ini);
    }

    QByteArray Contents() const {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
};

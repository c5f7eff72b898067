// The program as a user runs it, ended from outside while a device is connected.

#include "link/device_encoder.h"
#include "link/frame.h"
#include "temp_config.h"
#include "tests/support/pty_device.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>

namespace {

constexpr int kOutboundPort = 7;

// Kind of the next frame the program sent; its payload, if any, is left unread.
int NextHandheldKind(ksv::testing::PtyDevice& device) {
    const auto prefix = device.Read(ksv::kFramePrefixSize, std::chrono::seconds(20));
    return prefix ? ksv::GetU16(prefix->data() + 16) : -1;
}

TEST(ProgramExit, TermOrInterruptDuringASessionSaysGoodbyeAndExitsZero) {
    for (const int signal : {SIGTERM, SIGINT}) {
        TempConfig config;
        config.Preset("[Kestrovane]\nm_iComOutGoing=7\nm_iComIncoming=5\n");
        ksv::testing::PtyDevice device{kOutboundPort};
        const QString ports = config.Folder() + QStringLiteral("/Kestrovane/ports");
        ASSERT_TRUE(QDir().mkpath(ports));
        ASSERT_TRUE(QFile::link(QString::fromStdString(device.SlavePath()), ports + "/COM7"));

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", config.Folder());
        environment.insert("XDG_DATA_HOME", config.Folder() + "/data");
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(KSV_APPLICATION), {QStringLiteral("--connect")});
        ASSERT_TRUE(program.waitForStarted(10000));

        ASSERT_EQ(NextHandheldKind(device), ksv::kMsgHello);
        device.Write(ksv::EncodeHelloReply(u"Pump A", false, ksv::kHelloPingsOff).Frame());
        device.Write(ksv::EncodePanelDescription(
                         {ksv::DeviceControl('B', 0, 1).ValueByte(0).Caption(u"Stop")})
                         .Frame());
        // The panel is up once the program asks for its layout.
        ASSERT_EQ(NextHandheldKind(device), ksv::kMsgLayoutRequest);
        ASSERT_TRUE(device.Read(4));

        ::kill(static_cast<pid_t>(program.processId()), signal);
        EXPECT_EQ(NextHandheldKind(device), ksv::kMsgGoodbyeFromHandheld) << signal;
        ASSERT_TRUE(program.waitForFinished(10000)) << signal;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(program.exitCode(), 0) << signal;
    }
}

} // namespace

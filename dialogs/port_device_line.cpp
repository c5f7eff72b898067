#include "dialogs/port_device_line.h"

#include "dialogs/int_field.h"
#include "link/port_path.h"
#include "link/tcp_address.h"

#include <sys/stat.h>

namespace {

bool DeviceExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

} // namespace

QString DescribePortDevice(const QString& typedPort, const std::string& portsFolder) {
    const IntFieldResult port = ReadIntField(typedPort, 1, 1000);
    if (!port.value) {
        return QStringLiteral("COM?: not a port number");
    }
    const std::string path = ksv::ResolvePortPath(*port.value, portsFolder);
    if (ksv::IsTcpEntry(path)) {
        // Nothing to look for on this machine; only the entry itself can be checked.
        QString line =
            QStringLiteral("COM%1: \u2192 %2").arg(*port.value).arg(QString::fromStdString(path));
        return ksv::ParseTcpAddress(path) ? line : line + QStringLiteral(" (not a valid address)");
    }
    QString line = QStringLiteral("COM%1: \u2192 %2")
                       .arg(*port.value)
                       .arg(QString::fromStdString(ksv::ShownDevicePath(path)));
    if (!DeviceExists(path)) {
        line += ksv::HasPortEntry(*port.value, portsFolder)
                    ? QStringLiteral(" (nothing there)")
                    : QStringLiteral(" (no entry, nothing there)");
    }
    return line;
}

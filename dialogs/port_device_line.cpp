#include "dialogs/port_device_line.h"

#include "dialogs/int_field.h"
#include "link/port_path.h"
#include "link/tcp_address.h"

#include <filesystem>
#include <sys/stat.h>

namespace {

// A ports-folder link is opened as it stands; the user wants to see what it points to.
std::string ShownTarget(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_symlink(path, error)) {
        return path;
    }
    fs::path target = fs::read_symlink(path, error);
    if (error) {
        return path;
    }
    if (target.is_relative()) {
        target = fs::path(path).parent_path() / target;
    }
    return target.lexically_normal().string();
}

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
                       .arg(QString::fromStdString(ShownTarget(path)));
    if (!DeviceExists(path)) {
        line += ksv::HasPortEntry(*port.value, portsFolder)
                    ? QStringLiteral(" (nothing there)")
                    : QStringLiteral(" (no entry, nothing there)");
    }
    return line;
}

#pragma once

#include <QString>
#include <string>

// The line the Com Port Settings dialog shows under the ports: which device "COM<n>:" opens on
// this machine ("COM8: → /dev/rfcomm0", "COM8: → tcp://pump.local:4000"), or that nothing is
// there.
QString DescribePortDevice(const QString& typedPort, const std::string& portsFolder);

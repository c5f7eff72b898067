#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>

class CtrlHost;

// A message the device wants answered, as taken when it is put up: the box keeps its own copy,
// so the panel may be rebuilt or cleared while it is open.
struct DeviceMessage {
    QString text;
    uint32_t flags = 0;
    uint32_t controlId = 0;
};

// At most this many device messages are on screen at once.
inline constexpr int kMaxOpenMessageBoxes = 16;
// Longer messages are cut to this many characters: no screen shows more.
inline constexpr int kMaxMessageChars = 4000;

// Puts the message up without blocking, on the GUI thread, as a child window of `parent`.
// OpenMessageBoxCount() counts it while it is open. When it is answered the host is given
// 18000 + the answer code (when the buttons report one), and told when the last box closed.
// False, with a line on standard error, when kMaxOpenMessageBoxes are already open.
bool OpenDeviceMessageBox(QWidget* parent, const DeviceMessage& message, CtrlHost* host);

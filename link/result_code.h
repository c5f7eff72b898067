#pragma once

#include <cstdint>

namespace ksv {

// Result of a link or store operation. Zero is success, the negative values are the link's
// own failures, kLinkClosed means the port went away under a read, and any other positive
// value is the errno of the failed platform call.
enum ResultCode : int32_t {
    kSuccess = 0,
    kAlreadyOpen = -1,     // OpenPort: a port is already open
    kWrongKind = -1,       // decoders: an entry names a control of the wrong or no known kind
    kNoPort = -2,          // no port is open
    kNotApplicable = -5,   // the operation does not apply to this control's kind
    kNotInitialised = -6,  // OpenPort before LinkInit
    kPingUnanswered = -8,  // SendPing: the previous ping was never answered
    kWriteGaveUp = -9,     // WriteBytes used up its attempts
    kFileNotCreated = -10, // FileTransfer: the file cannot be created (or its name is refused)
    kLinkClosed = 6,       // the port went away; the receive run ends silently
};

inline ResultCode PlatformError(int err) { return static_cast<ResultCode>(err); }

// What a receive run leaves for the view.
enum ArrivalCode : int32_t {
    kArrivalError = -1,
    kArrivalNone = 0,           // no run has completed yet
    kArrivalDeviceName = 1,     // HelloReply
    kArrivalNewPanel = 2,       // PanelDescription
    kArrivalDeviceEnded = 3,    // Goodbye or Hello from the device
    kArrivalDevicePing = 4,     // DevicePing, already answered
    kArrivalPingReply = 5,      // PingReply, outstanding ping cleared
    kArrivalNothing = 6,        // kind 13
    kArrivalValuesChanged = 7,  // Values or MatrixRows
    kArrivalResetLink = 8,      // ResetRequest
    kArrivalStylesChanged = 9,  // StyleUpdate
    kArrivalFilesArrived = 10,  // FileTransfer
    kArrivalLayoutWritten = 11, // LayoutEntries
};

// The store's kind numbering, fixed by the tag letter of a description record.
enum RecordKind : uint16_t {
    kRecordNone = 0, // a record never decoded (a description that broke off)
    kRecordText = 1,        // 'T'
    kRecordButton = 2,      // 'B'
    kRecordLatch = 3,       // 'G'
    kRecordSection = 4,     // 'S'
    kRecordDateTime = 5,    // 'D'
    kRecordNumber = 6,      // 'N'
    kRecordMatrix = 7,      // 'M'
    kRecordPassword = 8,    // 'P'
    kRecordList = 9,        // 'L'
    kRecordMessageBox = 10, // 'X'
    kRecordBlob = 11,       // 'O'
    kRecordFile = 12,       // 'F'
    kRecordUnknown = 13,    // any other tag
    kRecordImage = 14,      // 'I'
};

} // namespace ksv

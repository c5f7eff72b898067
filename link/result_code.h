#pragma once

#include <cstdint>

namespace ksv {

// Result of a link or store operation. Zero is success, the negative values are the link's
// own failures, kLinkClosed means the port went away under a read, and any other positive
// value is the errno of the failed platform call.
//
// Inside the link a failed platform call is kPlatformFailure, its errno kept apart (see
// PlatformError), so an errno can never be mistaken for one of the link's own codes (ENXIO is
// 6, the number of kLinkClosed). Only at the link's public boundary does it become the errno.
enum ResultCode : int32_t {
    kSuccess = 0,
    kAlreadyOpen = -1,        // OpenPort: a port is already open
    kWrongKind = -1,          // decoders: an entry names a control of the wrong or no known kind
    kNoPort = -2,             // no port is open
    kNotApplicable = -5,      // the operation does not apply to this control's kind
    kNotInitialised = -6,     // OpenPort before LinkInit
    kPingUnanswered = -8,     // SendPing: the previous ping was never answered
    kWriteGaveUp = -9,        // WriteBytes used up its attempts
    kFileNotCreated = -10,    // FileTransfer: the file cannot be created (or its name is refused)
    kPanelTooLarge = -11,     // PanelDescription: past the panel's budget of records or memory
    kSpeedRefused = -12,      // OpenPort: the port's driver does not take the entry's speed
    kLinkClosed = 6,          // the port went away; the receive run ends silently
    kPlatformFailure = -1000, // internal only: a platform call failed, LastPlatformError() says why
};

// Records `err` as this thread's last platform error and gives kPlatformFailure.
ResultCode PlatformError(int err);
// The errno of the last platform call that failed on this thread; 0 before any.
int LastPlatformError();
// The value a result has outside the link: kPlatformFailure becomes its errno.
ResultCode AtBoundary(ResultCode result);

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
    kRecordNone = 0,        // a record never decoded (a description that broke off)
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

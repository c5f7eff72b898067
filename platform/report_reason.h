#pragma once

#include <string>

namespace ksv {

// Why a report or a user message was made; each reason has one sentence that tells the user
// what happened and what to do.
enum class ReportReason {
    ProgramFault,          // the program met a state of its own it should never reach
    PortReadFailed,        // reading the port failed
    UnknownMessageKind,    // a frame of a kind the program does not receive
    MessageUnreadable,     // a message's payload could not be decoded
    FileNotSaved,          // a transferred file could not be created or written
    FileNameRefused,       // a transferred file's name leads nowhere it may be saved
    FilesQuotaReached,     // the received files fill the room kept for them
    DiskNearlyFull,        // a transferred file would take the disk's last free room
    MessageStalled,        // a message stopped, or came too slowly, part way
    FileCutOff,            // the link went away during a file transfer
    UpdateForWrongControl, // a value, style or row update that does not fit its control
    ChangeNotSent,         // a user's change could not be encoded for sending
    PanelRecordMalformed,  // a control record of a panel description did not make sense
    UnknownControlKind,    // a record of no kind the view can build
    LayoutEntriesSkipped,  // more layout entries than are kept
    ReceiveStopped,        // the receiver could not be started again
    ArrivalFailed,         // a receive run ended in an error
    PanelBrokeOff,         // "Data transmission error."
    ImageTooLarge,         // "Bluetooth driver error"
    PortUnavailable,       // "Unable to connect to COM%d:"
    EmptyPanel,            // "The control panel has no controls!"
    LayoutNotWritten,      // the settings file refused the layout
};

// The plain sentence of a reason.
const char* ReasonSentence(ReportReason reason);

// The text of a box: the report as it stands, then the reason's sentence.
std::u16string ExplainedText(const std::u16string& text, ReportReason reason);

} // namespace ksv

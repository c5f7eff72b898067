#include "platform/report_reason.h"

namespace ksv {

const char* ReasonSentence(ReportReason reason) {
    switch (reason) {
    case ReportReason::ProgramFault:
        return "Something unexpected happened inside the program. It carries on; if this keeps "
               "coming back, close the connection and connect again.";
    case ReportReason::PortReadFailed:
        return "Reading from the device failed. The program keeps listening; if this repeats, "
               "check the cable or the Bluetooth connection.";
    case ReportReason::UnknownMessageKind:
        return "The device sent a message of a kind this program does not know. It was skipped "
               "and the connection stays open.";
    case ReportReason::MessageUnreadable:
        return "A message from the device could not be read completely. What arrived was used "
               "where possible, and the connection stays open.";
    case ReportReason::FileNotSaved:
        return "A file the device sent could not be saved: the folder for received files, or a "
               "folder in it, cannot be written. The file was skipped; the connection stays open.";
    case ReportReason::FileNameRefused:
        return "The device sent a file under a name that cannot be used here (empty, too long, "
               "or leading out of the folder for received files). The file was skipped; the "
               "connection stays open.";
    case ReportReason::FilesQuotaReached:
        return "A file the device sent was not saved: the received files already fill the room "
               "kept for them. Delete received files you no longer need; the connection stays "
               "open.";
    case ReportReason::DiskNearlyFull:
        return "A file the device sent was not saved: it would fill the disk. Free some disk "
               "space; the connection stays open.";
    case ReportReason::MessageStalled:
        return "The device stopped part way through a message, or sent it too slowly, so it was "
               "given up. The connection stays open.";
    case ReportReason::FileCutOff:
        return "The connection ended while the device was sending a file, so the file is "
               "incomplete.";
    case ReportReason::UpdateForWrongControl:
        return "The device sent an update that does not fit the control it names. The update "
               "was ignored.";
    case ReportReason::ChangeNotSent:
        return "A change could not be sent to the device. Try it again; the connection stays "
               "open.";
    case ReportReason::PanelRecordMalformed:
        return "Part of the panel the device described could not be read, so one control is "
               "shown with default settings or left empty.";
    case ReportReason::UnknownControlKind:
        return "The device described a control of a kind this program does not know. It is "
               "left out of the panel.";
    case ReportReason::LayoutEntriesSkipped:
        return "The device recommended more layout settings than the program keeps. The first "
               "ones are used and the rest were skipped.";
    case ReportReason::ReceiveStopped:
        return "The program can no longer listen to the device. Close the connection and "
               "connect again.";
    case ReportReason::ArrivalFailed:
        return "The last message from the device could not be used. The panel stays as it was "
               "and the connection stays open.";
    case ReportReason::PanelBrokeOff:
        return "The panel description from the device broke off part way. Close the connection "
               "and connect again to receive the whole panel.";
    case ReportReason::ImageTooLarge:
        return "The device sent a picture far too large to show. The program closes when you "
               "dismiss this message.";
    case ReportReason::PortUnavailable:
        return "Check that the device is switched on and paired, and that the port number in "
               "Settings > Com Ports... is right.";
    case ReportReason::EmptyPanel:
        return "The device is connected but its panel is empty. Choose Close to disconnect.";
    case ReportReason::LayoutNotWritten:
        return "Check that the settings file is not read-only and the disk has room. The layout "
               "stays in use and is written again with the next change.";
    }
    return "";
}

std::u16string ExplainedText(const std::u16string& text, ReportReason reason) {
    const std::string sentence = ReasonSentence(reason);
    // The sentences are ASCII.
    return text + u"\n\n" + std::u16string(sentence.begin(), sentence.end());
}

} // namespace ksv

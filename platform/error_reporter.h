#pragma once

#include "platform/report_reason.h"

#include <string>

namespace ksv {

// Source module names used in error reports.
inline constexpr const char* kLinkModule = "KsvBthPPCVComClt";
inline constexpr const char* kCtrlModule = "CCtrl";
inline constexpr const char* kViewModule = "KestrovaneView";

// "At %ld file %s, val=%ld"
std::string FormatErrorReport(long line, const char* module, long value);

// How the core reaches the user.
//
// Thread contract: called from any thread, the receive thread included, possibly with the
// store lock held. Implementations must return without waiting for the GUI thread (queue the
// message, do not block on a modal box), or a GUI thread waiting for the store deadlocks.
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;

    // An internal failure: "At <line> file <module>, val=<value>", explained by the reason.
    virtual void ReportError(long line, const char* module, long value, ReportReason reason) = 0;
    // A message with a fixed text meant for the user ("Data transmission error.").
    virtual void ShowMessage(const std::u16string& text, ReportReason reason) = 0;
    // Ask the application to end after the messages already shown.
    virtual void RequestQuit() = 0;
};

} // namespace ksv

#define KSV_REPORT(reporter, module, value, reason)                                                \
    (reporter).ReportError(__LINE__, (module), (value), ksv::ReportReason::reason)

#pragma once

#include "app/zoom_factor.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace ksv {

// QT_SCALE_FACTOR around the application object's creation: Qt reads it once, when the object
// is made. The user's own value is remembered, so that Restore hands it, and only it, on to
// the processes the program starts (a browser, the program itself on a restart).
class ScaleFactorEnvironment {
public:
    ScaleFactorEnvironment();

    // The user's own factor when it is a valid number, in quarters.
    std::optional<int> UserQuarters() const;
    void Apply(int quarters) const;
    void Restore() const;

private:
    std::optional<std::string> m_userValue;
};

// Height available on the primary screen in device-independent pixels, read through a
// short-lived application object on a copy of the arguments (it takes its own options out of
// them). Call only while no application object exists. 0 when there is no screen.
int ProbeAvailableHeight(const std::vector<std::string>& arguments);

// Chooses the zoom (--zoom, then the user's QT_SCALE_FACTOR, then the stored factor, then the
// primary screen) and sets QT_SCALE_FACTOR for the application object made next.
StartupZoom PrepareStartupZoom(std::optional<int> commandLine,
                               const ScaleFactorEnvironment& environment,
                               const QString& settingsPath,
                               const std::vector<std::string>& arguments);

} // namespace ksv

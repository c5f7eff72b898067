#include "app/zoom_startup.h"

#include "app/argument_vector.h"
#include "app/zoom_settings.h"
#include "platform/qt/qt_settings_store.h"

#include <QGuiApplication>
#include <QScreen>

namespace ksv {
namespace {

const char* const kScaleFactorVariable = "QT_SCALE_FACTOR";

} // namespace

ScaleFactorEnvironment::ScaleFactorEnvironment() {
    if (qEnvironmentVariableIsSet(kScaleFactorVariable))
        m_userValue = qgetenv(kScaleFactorVariable).toStdString();
}

std::optional<int> ScaleFactorEnvironment::UserQuarters() const {
    return m_userValue ? ParseZoomFactor(*m_userValue) : std::nullopt;
}

// Qt's own calls: they take the lock Qt's threads read the environment under.
void ScaleFactorEnvironment::Apply(int quarters) const {
    qputenv(kScaleFactorVariable, QByteArray::fromStdString(FormatZoomFactor(quarters)));
}

void ScaleFactorEnvironment::Restore() const {
    if (m_userValue)
        qputenv(kScaleFactorVariable, QByteArray::fromStdString(*m_userValue));
    else
        qunsetenv(kScaleFactorVariable);
}

int ProbeAvailableHeight(const std::vector<std::string>& arguments) {
    ArgumentVector copy(arguments);
    QGuiApplication probe(copy.Count(), copy.Values());
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().height() : 0;
}

StartupZoom PrepareStartupZoom(std::optional<int> commandLine,
                               const ScaleFactorEnvironment& environment,
                               const QString& settingsPath,
                               const std::vector<std::string>& arguments) {
    ZoomSources sources;
    sources.commandLine = commandLine;
    sources.environment = environment.UserQuarters();
    if (!sources.commandLine && !sources.environment)
        sources.stored = LoadZoomQuarters(QtSettingsStore(settingsPath));
    const StartupZoom zoom =
        ChooseStartupZoom(sources, [&arguments] { return ProbeAvailableHeight(arguments); });
    if (zoom.applyScaleFactor)
        environment.Apply(zoom.quarters);
    return zoom;
}

} // namespace ksv

#include "app/argument_vector.h"
#include "app/command_line.h"
#include "app/kestrovane_app.h"
#include "app/program_restart.h"
#include "app/zoom_arguments.h"
#include "app/zoom_controller.h"
#include "app/zoom_startup.h"
#include "platform/qt/gui_error_reporter.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/qt/quit_signals.h"
#include "resources/resource_ids.h"
#include "view/kestrovane_view.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

struct RunResult {
    int exitCode = 0;
    std::optional<int> restartQuarters; // the user asked to restart at this zoom
};

// A scratch core application names the program in the usage text; it needs no display.
ksv::CommandLineResult ReadCommandLine(const std::vector<std::string>& arguments) {
    ksv::ArgumentVector copy(arguments);
    QCoreApplication core(copy.Count(), copy.Values());
    return ksv::ParseCommandLine(QCoreApplication::arguments());
}

// A restarted program does not record: it would write over the recording made so far.
std::vector<std::string> WithoutRecord(const std::vector<std::string>& arguments) {
    std::vector<std::string> kept;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--record" || argument == "-record") {
            ++i;
        } else if (argument.rfind("--record=", 0) != 0 && argument.rfind("-record=", 0) != 0) {
            kept.push_back(argument);
        }
    }
    return kept;
}

RunResult RunApplication(std::vector<std::string> arguments, const ksv::CommandLine& options) {
    const QString settingsPath = ksv::DefaultSettingsPath();
    const ksv::ScaleFactorEnvironment scaleFactor;
    const ksv::StartupZoom zoom =
        ksv::PrepareStartupZoom(options.zoomQuarters, scaleFactor, settingsPath, arguments);
    ksv::ArgumentVector argv(std::move(arguments));
    QApplication application(argv.Count(), argv.Values());
    scaleFactor.Restore();

    RunResult run;
    CKestrovaneApp app({settingsPath, QCoreApplication::applicationFilePath(),
                        ksv::DefaultLinkPaths(), zoom.quarters, options.recordPath});
    if (!app.InitInstance()) {
        if (!app.StartupFailure().isEmpty())
            std::fprintf(stderr, "kestrovane: %s\n", qPrintable(app.StartupFailure()));
        run.exitCode = 1;
        return run;
    }
    ksv::GuiErrorReporter* reporter = app.Reporter();
    app.Zoom()->SetRestartHandler([&run, reporter](int quarters) {
        run.restartQuarters = quarters;
        reporter->RequestQuit(); // after the messages already queued
    });
    if (options.connect)
        app.View()->OnCommand(IDC_BTN_CONNECT, ksv::qt::kNotifyClicked, nullptr);
    // Stopped from outside: end as "Close" would, so the document still closes the link.
    ksv::QuitSignals quitSignals([] { QCoreApplication::quit(); });
    run.exitCode = application.exec();
    app.ExitInstance();
    if (!app.RecordingFailure().isEmpty())
        std::fprintf(stderr, "kestrovane: %s\n", qPrintable(app.RecordingFailure()));
    return run;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("Kestrovane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KSV_VERSION));
    const std::vector<std::string> original(argv, argv + argc);
    const ksv::CommandLineResult commandLine = ReadCommandLine(original);
    if (commandLine.exitStatus) {
        std::fputs(qPrintable(commandLine.text), *commandLine.exitStatus == 0 ? stdout : stderr);
        return *commandLine.exitStatus;
    }
    // The platform never sees --zoom.
    std::vector<std::string> arguments = original;
    ksv::ExtractZoomArgument(arguments);
    const RunResult run = RunApplication(std::move(arguments), commandLine.options);
    if (!run.restartQuarters)
        return run.exitCode;
    if (!commandLine.options.recordPath.isEmpty())
        std::fprintf(stderr, "kestrovane: the recording %s ends with the restart\n",
                     qPrintable(commandLine.options.recordPath));
    // Everything is closed by now: the new process opens the port afresh.
    const int error =
        ksv::ExecProgramAgain(ksv::RestartArguments(WithoutRecord(original), *run.restartQuarters));
    std::fprintf(stderr, "%s: cannot start again: %s\n", argv[0], std::strerror(error));
    return 1;
}

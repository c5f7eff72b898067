#include "app/command_line.h"

#include "app/zoom_factor.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <functional>
#include <vector>

namespace ksv {
namespace {

// One option of the program. `apply` takes its value over into the command line and returns
// an error text when the value will not do.
struct ProgramOption {
    QStringList names;
    QString valueName; // empty for a switch
    QString description;
    std::function<QString(CommandLine&, const QString& value)> apply;
};

QString ApplyZoom(CommandLine& line, const QString& value) {
    line.zoomQuarters = ParseZoomFactor(value.toStdString());
    return line.zoomQuarters ? QString()
                             : QStringLiteral("--zoom takes a factor from 1 to 4, such as 1.5");
}

QString ApplyRecord(CommandLine& line, const QString& value) {
    line.recordPath = value;
    return value.isEmpty() ? QStringLiteral("--record takes the name of the file to write")
                           : QString();
}

// The program's options, in the order the help text lists them.
const std::vector<ProgramOption>& ProgramOptions() {
    static const std::vector<ProgramOption> options = {
        {{"zoom"},
         "factor",
         "Zoom the window by this factor (1 to 4, in steps of 0.25).",
         ApplyZoom},
        {{"connect"},
         "",
         "Connect to the outbound port as soon as the window is up.",
         [](CommandLine& line, const QString&) { return (line.connect = true, QString()); }},
        {{"record"},
         "file",
         "Write every byte received and sent, with its time, to this file (replay it with\n"
         "kestrovane-demo-device --replay).",
         ApplyRecord},
    };
    return options;
}

// Options the Qt application object takes for itself; they pass unseen.
const std::vector<std::pair<QString, bool>>& QtOptions() { // name, takes a value
    static const std::vector<std::pair<QString, bool>> options = {
        {"platform", true},        {"platformpluginpath", true},
        {"platformtheme", true},   {"plugin", true},
        {"qwindowgeometry", true}, {"geometry", true},
        {"qwindowtitle", true},    {"title", true},
        {"qwindowicon", true},     {"icon", true},
        {"display", true},         {"name", true},
        {"session", true},         {"style", true},
        {"stylesheet", true},      {"qmljsdebugger", true},
        {"reverse", false},        {"widgetcount", false},
        {"nograb", false},         {"dograb", false},
        {"sync", false},           {"testability", false},
    };
    return options;
}

QString ProgramName(const QStringList& arguments) {
    return arguments.isEmpty() ? QStringLiteral("kestrovane")
                               : QFileInfo(arguments.first()).fileName();
}

CommandLineResult Refuse(const QCommandLineParser& parser, const QStringList& arguments,
                         const QString& error) {
    CommandLineResult result;
    result.exitStatus = 2;
    result.text =
        QStringLiteral("%1: %2\n\n%3").arg(ProgramName(arguments), error, parser.helpText());
    return result;
}

} // namespace

CommandLineResult ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Operate the control panel of a device on a serial line, a Bluetooth serial port, a\n"
        "pseudo-terminal or a TCP connection."));
    // -platform and the other options of Qt are single-dash words.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({"h", "help"}, QStringLiteral("Show this help and exit."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    for (const ProgramOption& option : ProgramOptions())
        parser.addOption(QCommandLineOption(option.names, option.description, option.valueName));
    for (const auto& [name, takesValue] : QtOptions()) {
        QCommandLineOption qtOption(name, QString(), takesValue ? name : QString());
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }

    if (!parser.parse(arguments))
        return Refuse(parser, arguments, parser.errorText());
    CommandLineResult result;
    if (parser.isSet(help)) {
        result.exitStatus = 0;
        result.text = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.exitStatus = 0;
        result.text = QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                    QCoreApplication::applicationVersion());
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return Refuse(
            parser, arguments,
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    }
    for (const ProgramOption& option : ProgramOptions()) {
        if (!parser.isSet(option.names.first()))
            continue;
        const QString error = option.apply(result.options, parser.value(option.names.first()));
        if (!error.isEmpty())
            return Refuse(parser, arguments, error);
    }
    return result;
}

} // namespace ksv

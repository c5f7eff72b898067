#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace ksv {

// What the program was asked for on its command line. Each option of ProgramOptions()
// (command_line.cpp) fills one field.
struct CommandLine {
    std::optional<int> zoomQuarters; // --zoom
    bool connect = false;            // --connect
    QString recordPath;              // --record: the session recording to write
};

// The command line read: run with `options`, or print `text` and end with `exitStatus` (0 for
// --help and --version, on standard output; 2 for a mistake, on standard error).
struct CommandLineResult {
    CommandLine options;
    std::optional<int> exitStatus;
    QString text;
};

// Reads the arguments (the program first) without any application object, so that --help,
// --version and mistakes are answered without a display. Qt's own options (-platform, -style,
// ...) are let through for the application object.
CommandLineResult ParseCommandLine(const QStringList& arguments);

} // namespace ksv

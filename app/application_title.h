#pragma once

#include <QString>

// The application title: the program file's base name. A trailing extension (a dot and three
// characters, none of them a dot or a path separator, after at least one character of the
// name) is dropped; a Linux program usually has none, so nothing is cut from "kestrovane".
// Then what follows the last '/' or '\' is kept. An empty result falls back to "Kestrovane".
QString ApplicationTitle(const QString& programPath);

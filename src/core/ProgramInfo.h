// What every program of the project says about itself, and the Qt warnings
// none of them passes on.
#pragma once

#include <QCommandLineParser>
#include <QString>

namespace vexa {

// "NAME VERSION", then the copyright and the licence, GPL-3.0-or-later.
QString versionText(const QString &program);

// -v and --version, in Qt's words, answered by versionText instead of the
// version alone.
QCommandLineOption versionOption();
// Prints versionText to standard output when the option was given.
bool answeredVersion(const QCommandLineParser &parser, const QString &program);
// Whether the command line asks only for --help or --version, which a window
// program answers without a display.
bool asksOnlyAboutItself(int argc, char *argv[]);

// Drops the warnings Qt writes for reasons of its own (no runtime folder in a
// bare shell, a size hint the offscreen platform can't pass on), so standard
// error carries only the program's own messages; every other message goes
// where it went before.
void dropQtNoise();

} // namespace vexa

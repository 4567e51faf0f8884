#include "ProgramInfo.h"

#include <cstdio>
#include <cstring>

namespace vexa {

namespace {

QtMessageHandler passedOn = nullptr;

bool isNoise(const QString &message)
{
    return message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")) ||
           message == QLatin1String("This plugin does not support propagateSizeHints()");
}

void withoutNoise(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && isNoise(message))
        return;
    if (passedOn)
        passedOn(type, context, message);
}

} // namespace

QString versionText(const QString &program)
{
    return program + QStringLiteral(" " VEXA_VERSION "\n"
                                    "Copyright (C) 2026 VEXASynch developers\n"
                                    "License GPL-3.0-or-later: GNU GPL version 3 or later "
                                    "<https://www.gnu.org/licenses/gpl-3.0.html>\n"
                                    "This is free software: you are free to change and "
                                    "redistribute it.\n"
                                    "There is NO WARRANTY, to the extent permitted by law.\n");
}

QCommandLineOption versionOption()
{
    return QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                              QStringLiteral("Displays version information."));
}

bool answeredVersion(const QCommandLineParser &parser, const QString &program)
{
    if (!parser.isSet(QStringLiteral("version")))
        return false;
    std::fputs(qPrintable(versionText(program)), stdout);
    return true;
}

bool asksOnlyAboutItself(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i)
        for (const char *option : {"-h", "--help", "-v", "--version", "--help-all"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    return false;
}

void dropQtNoise()
{
    passedOn = qInstallMessageHandler(withoutNoise);
}

} // namespace vexa

#include "core/ProgramInfo.h"
#include "desktop/LogbookLink.h"
#include "desktop/SavedPaths.h"
#include "dialogs/QtUserInterface.h"
#include "logbook-gui/LogbookWindow.h"
#include "logbook/Logbook.h"
#include "store/SyncComponent.h"
#include "writers/EveryWriter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include <cstdio>

namespace {

const QString Program = QStringLiteral("VEXALogbook");

void describe(QCommandLineParser &options)
{
    options.setApplicationDescription(QStringLiteral(
        "Every log ever pulled from a VEXA handheld, in a window that stays open: sort, filter,\n"
        "describe, note, plot, put back, pull and purge them."));
    options.addHelpOption();
    options.addOption(vexa::versionOption());
    options.addOption({QStringLiteral("logbook"),
                       QStringLiteral("The logbook to open (default: %1).")
                           .arg(QDir::toNativeSeparators(vexa::Logbook::defaultPath())),
                       QStringLiteral("file")});
    options.addOption({QStringLiteral("show"), QStringLiteral("Selects the log with this id."),
                       QStringLiteral("id")});
}

void name(QCoreApplication &app)
{
    QCoreApplication::setApplicationName(Program);
    QCoreApplication::setOrganizationName(QStringLiteral("VEXASynch"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VEXA_VERSION));
    (void)app;
}

} // namespace

int main(int argc, char *argv[])
{
    vexa::dropQtNoise();
    if (vexa::asksOnlyAboutItself(argc, argv)) {
        QCoreApplication app(argc, argv);
        name(app);
        QCommandLineParser options;
        describe(options);
        options.process(app); // exits, but for the version
        vexa::answeredVersion(options, Program);
        return 0;
    }
    QApplication app(argc, argv);
    name(app);
    QApplication::setDesktopFileName(QStringLiteral("io.github.vexasynch.VEXALogbook"));
    QCommandLineParser options;
    describe(options);
    options.process(app);
    std::int64_t show = 0;
    if (options.isSet(QStringLiteral("show"))) {
        bool ok = false;
        show = options.value(QStringLiteral("show")).toLongLong(&ok);
        if (!ok || show < 1) {
            std::fprintf(stderr, "VEXALogbook: a log is named by its id, a number from 1: '%s'\n",
                         qPrintable(options.value(QStringLiteral("show"))));
            return 2;
        }
    }
    const QString logbook = options.isSet(QStringLiteral("logbook"))
                                ? options.value(QStringLiteral("logbook"))
                                : vexa::Logbook::defaultPath();
    // One window per logbook: a second start hands its log to the open one.
    if (vexa::LogbookLink(logbook).askOpenWindow(show))
        return 0;
    vexa::registerEveryWriter();

    const vexa::SyncComponent sync;
    vexa::QtUserInterface ui;
    vexa::UserSettings settings;
    vexa::LogbookWindow window(logbook, sync, ui, settings);
    ui.setParentWindow(&window);
    const vexa::LogbookLinkServer link(logbook, [&window](std::int64_t id) { window.showLog(id); });
    window.show();
    if (show != 0)
        window.showLog(show);
    return app.exec();
}

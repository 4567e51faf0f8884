#include "MainWindow.h"
#include "core/ProgramInfo.h"
#include "dialogs/QtUserInterface.h"
#include "store/SyncComponent.h"
#include "writers/EveryWriter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

namespace {

void describe(QCommandLineParser &options)
{
    options.setApplicationDescription(
        QStringLiteral("Lists, describes, saves and deletes the logs of the docked VEXA handheld.\n"
                       "Its sync data root is $VEXA_SYNC_ROOT, or VEXASync in the data folder."));
    options.addHelpOption();
    options.addOption(vexa::versionOption());
}

} // namespace

int main(int argc, char *argv[])
{
    vexa::dropQtNoise();
    if (vexa::asksOnlyAboutItself(argc, argv)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("VEXASynch"));
        QCoreApplication::setApplicationVersion(QStringLiteral(VEXA_VERSION));
        QCommandLineParser options;
        describe(options);
        options.process(app); // exits, but for the version
        vexa::answeredVersion(options, QCoreApplication::applicationName());
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VEXASynch"));
    QApplication::setOrganizationName(QStringLiteral("VEXASynch"));
    QApplication::setApplicationVersion(QStringLiteral(VEXA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.github.vexasynch.VEXASynch"));
    QCommandLineParser options;
    describe(options);
    options.process(app);
    // Boxes shown during start-up come before the window: closing one must
    // not end the program, only the window's unload does.
    QApplication::setQuitOnLastWindowClosed(false);
    vexa::registerEveryWriter();

    const vexa::SyncComponent sync;
    vexa::QtUserInterface ui;
    vexa::MainWindow window(sync, ui);
    ui.setParentWindow(&window);
    // A plot window open at the unload keeps the program until it closes.
    QObject::connect(&window, &vexa::MainWindow::finished, &app, &QApplication::quit);
    QTimer::singleShot(0, &window, &vexa::MainWindow::start);
    return app.exec();
}

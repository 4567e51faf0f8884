#include "MainWindow.h"
#include "dialogs/QtUserInterface.h"
#include "store/SyncComponent.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VEXASynch"));
    QApplication::setOrganizationName(QStringLiteral("VEXASynch"));
    QApplication::setApplicationVersion(QStringLiteral(VEXA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("io.github.vexasynch.VEXASynch"));
    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Lists, describes, saves and deletes the logs of the docked VEXA handheld.\n"
                       "Its sync data root is $VEXA_SYNC_ROOT, or VEXASync in the data folder."));
    options.addHelpOption();
    options.addVersionOption();
    options.process(app);
    // Boxes shown during start-up come before the window: closing one must
    // not end the program, only the window's unload does.
    QApplication::setQuitOnLastWindowClosed(false);

    const vexa::SyncComponent sync;
    vexa::QtUserInterface ui;
    vexa::MainWindow window(sync, ui);
    ui.setParentWindow(&window);
    QObject::connect(&window, &vexa::MainWindow::unloaded, &app, &QApplication::quit);
    QTimer::singleShot(0, &window, &vexa::MainWindow::start);
    return app.exec();
}

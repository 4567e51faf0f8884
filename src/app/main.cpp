#include "MainWindow.h"
#include "dialogs/QtUserInterface.h"
#include "store/SyncComponent.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VEXASynch"));
    QApplication::setOrganizationName(QStringLiteral("VEXASynch"));
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

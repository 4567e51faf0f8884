// Runs the tests headless, or one child scenario when the environment names
// it (for tests that kill a child process in the middle of its work).
#include "ChildProcess.h"

#ifdef VEXA_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
// The widget-free layers are tested without QtWidgets.
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#include <gtest/gtest.h>

#include <optional>

#include <QTemporaryDir>

int main(int argc, char **argv)
{
    // No test touches the user's own files (the logbook every window pulls
    // into): a scratch home, which child processes share.
    std::optional<QTemporaryDir> home;
    if (qEnvironmentVariableIsEmpty("VEXA_TEST_HOME")) {
        home.emplace();
        qputenv("VEXA_TEST_HOME", home->path().toUtf8());
        qputenv("HOME", home->path().toUtf8());
        qputenv("XDG_DATA_HOME", (home->path() + "/data").toUtf8());
        qputenv("XDG_CONFIG_HOME", (home->path() + "/config").toUtf8());
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    if (const QByteArray child = qgetenv(vexa::test::ChildVariable); !child.isEmpty())
        return vexa::test::runChild(child);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

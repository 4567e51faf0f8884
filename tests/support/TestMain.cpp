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

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    if (const QByteArray child = qgetenv(vexa::test::ChildVariable); !child.isEmpty())
        return vexa::test::runChild(child);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Child processes for crash tests: the test binary runs itself with a named
// scenario, which does some work, prints "ready" and waits to be killed.
#pragma once

#include <QProcess>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace vexa::test {

inline const char *const ChildVariable = "VEXA_TEST_CHILD";

using ChildScenario = std::function<int(const QStringList &args)>;

// Registers a scenario at static initialisation.
struct ChildRegistration {
    ChildRegistration(const char *name, ChildScenario scenario);
};

int runChild(const QByteArray &name);

// Tells the parent that the scenario has reached the point to kill it at,
// then waits to be killed.
[[noreturn]] void signalReadyAndWait();

// Starts the scenario in a child of its own, for children that run at once.
std::unique_ptr<QProcess> startChild(const char *name, const QStringList &args);

// Starts the scenario in a child, waits for "ready", kills it (SIGKILL on
// Unix) and waits for its end. False when the child never got ready.
bool runChildUntilReadyThenKill(const char *name, const QStringList &args,
                                QString *childOutput = nullptr);

} // namespace vexa::test

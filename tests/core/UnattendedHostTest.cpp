// The host of commands with nobody at the screen: what a person reading the
// batch tools' progress sees. (Its Cancel is the writers' Cancel test's.)
#include "core/UnattendedHost.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <climits>

namespace vexa {
namespace {

TEST(UnattendedHost, PrintsProgressAtMostOnceAnIntervalAndEveryBoxAtOnce)
{
    const struct {
        const char *what;
        int intervalMs;
        QStringList printed;
    } cases[] = {
        // A status waits for a yield; an immediate one and every box are shown at once, and
        // only progress starts the interval again.
        {"a long interval", INT_MAX, {"scan 1", "now", "box", "Overwrite? (no)"}},
        {"no interval", 0, {"scan 1", "scan 2", "now", "box", "Overwrite? (no)", "scan 2"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        UnattendedHost host;
        QStringList printed;
        host.printProgress([&](const QString &line) { printed << line; }, c.intervalMs);
        host.setStatus("scan 1");
        host.yield();
        host.setStatus("scan 2");
        host.yield();
        host.showStatusNow("now");
        host.inform("box");
        EXPECT_FALSE(host.ask("Overwrite?"));
        host.yield();
        EXPECT_EQ(printed, c.printed);
    }
}

} // namespace
} // namespace vexa

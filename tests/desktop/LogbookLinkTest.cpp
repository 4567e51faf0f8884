// One logbook window per user and logbook: requests reach the window open on
// their logbook and no other, bad requests are dropped, and with no window
// the program is started to show the log.
#include "desktop/LogbookLink.h"
#include "core/RuntimeError.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace vexa::test {
namespace {

// The client blocks; the server in this thread needs its events run.
template <typename Call> auto whileServing(Call call)
{
    std::atomic<bool> done = false;
    decltype(call()) result{};
    std::thread client([&] {
        result = call();
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    client.join();
    QCoreApplication::processEvents();
    return result;
}

// What the server answers to these bytes, read until it hangs up.
QByteArray answerTo(const QString &logbook, const QByteArray &request)
{
    return whileServing([&] {
        QLocalSocket socket;
        socket.connectToServer(logbookLinkName(logbook));
        socket.waitForConnected(2000);
        socket.write(request);
        socket.waitForBytesWritten(2000);
        QByteArray answer;
        while (socket.state() == QLocalSocket::ConnectedState && socket.waitForReadyRead(2000))
            answer += socket.readAll();
        return answer + socket.readAll();
    });
}

struct LinkFixture {
    QTemporaryDir folder;
    QString logbook = folder.filePath("logbook.sqlite");
    std::vector<std::int64_t> shown;
    LogbookLinkServer server{logbook, [this](std::int64_t id) { shown.push_back(id); }};
};

TEST(LogbookLink, TheOpenWindowShowsWhatItIsAskedFor)
{
    LinkFixture l;
    ASSERT_TRUE(l.server.isListening());
    const LogbookLink link(l.logbook);
    EXPECT_TRUE(whileServing([&] { return link.askOpenWindow(42); }));
    EXPECT_TRUE(whileServing([&] { return link.askOpenWindow(0); }));
    EXPECT_EQ(l.shown, (std::vector<std::int64_t>{42, 0}));

    // Another logbook has a window of its own.
    QTemporaryDir other;
    const LogbookLink elsewhere(other.filePath("logbook.sqlite"));
    EXPECT_NE(logbookLinkName(l.logbook), logbookLinkName(other.filePath("logbook.sqlite")));
    EXPECT_FALSE(whileServing([&] { return elsewhere.askOpenWindow(1, 300); }));
    EXPECT_EQ(l.shown.size(), 2u);

    // A second window on the same logbook does not take the first one's place.
    LogbookLinkServer second(l.logbook, [](std::int64_t) { ADD_FAILURE(); });
    EXPECT_FALSE(second.isListening());
    EXPECT_TRUE(whileServing([&] { return link.askOpenWindow(3); }));
    EXPECT_EQ(l.shown.back(), 3);
}

TEST(LogbookLink, BadRequestsShowNothingAndTheWindowServesOn)
{
    const struct {
        const char *what;
        QByteArray request;
    } cases[] = {
        {"no number", "show x\n"},
        {"not a log", "show -1\n"},
        {"another word", "raise 3\n"},
        {"no end of line, then gone", "show 3"},
        {"longer than any request", QByteArray(200, 'x')},
    };
    LinkFixture l;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(answerTo(l.logbook, c.request), QByteArray());
    }
    EXPECT_TRUE(l.shown.empty());
    EXPECT_EQ(answerTo(l.logbook, "show 12\n"), "shown\n");
    EXPECT_EQ(l.shown, (std::vector<std::int64_t>{12}));
}

TEST(LogbookLink, AWindowGoneLeavesNoNameBehind)
{
    QTemporaryDir folder;
    const QString logbook = folder.filePath("logbook.sqlite");
    {
        LogbookLinkServer first(logbook, [](std::int64_t) {});
    }
    // As a crashed window leaves it: a socket nobody listens on.
    QLocalServer stale;
    stale.listen(logbookLinkName(logbook));
    stale.close();
    std::int64_t shown = 0;
    LogbookLinkServer next(logbook, [&](std::int64_t id) { shown = id; });
    EXPECT_TRUE(next.isListening());
    EXPECT_TRUE(whileServing([&] { return LogbookLink(logbook).askOpenWindow(5); }));
    EXPECT_EQ(shown, 5);
}

TEST(LogbookLink, WithNoWindowTheProgramIsStartedToShowTheLog)
{
    QTemporaryDir folder;
    const QString logbook = folder.filePath("logbook.sqlite");
    const QString program = folder.filePath("VEXALogbook");
    const QString args = folder.filePath("args");
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho \"$@\" > '" + args.toUtf8() + ".part' && mv '" + args.toUtf8() +
                 ".part' '" + args.toUtf8() + "'\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);

    LogbookLink link(logbook);
    link.setProgram(program);
    link.show(9);
    for (int i = 0; i < 500 && !QFile::exists(args); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    QFile written(args);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "--logbook " + logbook.toUtf8() + " --show 9\n");

    link.setProgram(folder.filePath("missing"));
    try {
        link.show(9);
        ADD_FAILURE() << "started a missing program";
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.description(),
                  "The logbook window could not be started: " + folder.filePath("missing"));
    }
}

} // namespace
} // namespace vexa::test

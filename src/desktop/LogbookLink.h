// One logbook window per user account and logbook: a program that wants a
// log shown asks the window open on that logbook through a local socket,
// and starts VEXALogbook when none answers.
#pragma once

#include <QLocalServer>
#include <QString>

#include <cstdint>
#include <functional>

namespace vexa {

// The same for every program of one user on one logbook file, another for
// another user or another logbook.
QString logbookLinkName(const QString &logbookPath);

// The running window's side: "show ID" from a client calls `onShow` (ID 0:
// a second start that only raises the window).
class LogbookLinkServer : public QObject {
public:
    // Listens at once, unless another window listens on the logbook already.
    LogbookLinkServer(const QString &logbookPath, std::function<void(std::int64_t)> onShow,
                      QObject *parent = nullptr);
    bool isListening() const { return m_server.isListening(); }

private:
    void serve(class QLocalSocket *client);

    QLocalServer m_server;
    std::function<void(std::int64_t)> m_onShow;
};

class LogbookLink {
public:
    explicit LogbookLink(QString logbookPath);

    // True when the window open on the logbook took the request in time;
    // id 0 asks it only to come to the front.
    bool askOpenWindow(std::int64_t id, int waitMs = 2000) const;
    // The open window shows the log, or VEXALogbook is started to show it;
    // throws RuntimeError when it can't be started.
    void show(std::int64_t id) const;
    // VEXALogbook beside the running program unless set.
    void setProgram(const QString &path) { m_program = path; }

private:
    QString m_logbookPath;
    QString m_program;
};

} // namespace vexa

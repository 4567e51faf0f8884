#include "LogbookLink.h"

#include "core/RuntimeError.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>

namespace vexa {

namespace {

// A request is one short line; anything longer is no client of ours.
constexpr qint64 LongestRequest = 64;
const QByteArray Shown = "shown\n";

std::optional<std::int64_t> requestedLog(const QByteArray &line)
{
    if (!line.startsWith("show ") || !line.endsWith('\n'))
        return std::nullopt;
    bool ok = false;
    const std::int64_t id = line.mid(5).trimmed().toLongLong(&ok);
    return ok && id >= 0 ? std::optional(id) : std::nullopt;
}

} // namespace

QString logbookLinkName(const QString &logbookPath)
{
    const QFileInfo file(logbookPath);
    const QString canonical = file.canonicalFilePath();
    // The home folder tells user accounts apart where the socket folder is shared.
    const QByteArray key =
        (QDir::homePath() + QLatin1Char('\n') +
         (canonical.isEmpty() ? QDir::cleanPath(file.absoluteFilePath()) : canonical))
            .toUtf8();
    return QStringLiteral("VEXALogbook-") +
           QString::fromLatin1(
               QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

LogbookLinkServer::LogbookLinkServer(const QString &logbookPath,
                                     std::function<void(std::int64_t)> onShow, QObject *parent)
    : QObject(parent), m_onShow(std::move(onShow))
{
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *client = m_server.nextPendingConnection())
            serve(client);
    });
    const QString name = logbookLinkName(logbookPath);
    // Listening would take the name from a live window (Qt moves its socket
    // into place); a socket a crashed window left behind answers nobody.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(500))
        return;
    QLocalServer::removeServer(name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.listen(name);
}

void LogbookLinkServer::serve(QLocalSocket *client)
{
    connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    connect(client, &QLocalSocket::readyRead, client, [this, client] {
        if (!client->canReadLine()) {
            if (client->bytesAvailable() > LongestRequest)
                client->abort();
            return;
        }
        const QByteArray line = client->readLine(LongestRequest + 1);
        const auto id = requestedLog(line);
        if (id) {
            client->write(Shown);
            client->flush();
        }
        client->disconnectFromServer();
        if (id)
            m_onShow(*id);
    });
}

LogbookLink::LogbookLink(QString logbookPath) : m_logbookPath(std::move(logbookPath))
{
    m_program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("VEXALogbook"));
}

bool LogbookLink::askOpenWindow(std::int64_t id, int waitMs) const
{
    QLocalSocket socket;
    socket.connectToServer(logbookLinkName(m_logbookPath));
    if (!socket.waitForConnected(waitMs))
        return false;
    socket.write("show " + QByteArray::number(static_cast<qlonglong>(id)) + '\n');
    if (!socket.waitForBytesWritten(waitMs))
        return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(waitMs))
            return false;
    return socket.readLine(LongestRequest) == Shown;
}

void LogbookLink::show(std::int64_t id) const
{
    if (askOpenWindow(id))
        return;
    if (!QProcess::startDetached(m_program, {QStringLiteral("--logbook"), m_logbookPath,
                                             QStringLiteral("--show"), QString::number(id)}))
        throw RuntimeError(ErrorNumber::FileNotFound,
                           QStringLiteral("The logbook window could not be started: %1")
                               .arg(QDir::toNativeSeparators(m_program)));
}

} // namespace vexa

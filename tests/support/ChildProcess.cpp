#include "ChildProcess.h"

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QThread>

#include <cstdio>

namespace vexa::test {

namespace {

std::map<std::string, ChildScenario> &scenarios()
{
    static std::map<std::string, ChildScenario> all;
    return all;
}

} // namespace

ChildRegistration::ChildRegistration(const char *name, ChildScenario scenario)
{
    scenarios()[name] = std::move(scenario);
}

int runChild(const QByteArray &name)
{
    const auto it = scenarios().find(name.toStdString());
    if (it == scenarios().end()) {
        std::fprintf(stderr, "unknown child scenario %s\n", name.constData());
        return 3;
    }
    return it->second(qEnvironmentVariable("VEXA_TEST_CHILD_ARGS").split(QLatin1Char('\x1f')));
}

void signalReadyAndWait()
{
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (;;)
        QThread::sleep(1);
}

std::unique_ptr<QProcess> startChild(const char *name, const QStringList &args)
{
    auto child = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(ChildVariable), QString::fromLatin1(name));
    env.insert(QStringLiteral("VEXA_TEST_CHILD_ARGS"), args.join(QLatin1Char('\x1f')));
    child->setProcessEnvironment(env);
    child->setProcessChannelMode(QProcess::SeparateChannels);
    child->start(QCoreApplication::applicationFilePath(), {});
    return child;
}

bool runChildUntilReadyThenKill(const char *name, const QStringList &args, QString *childOutput)
{
    const std::unique_ptr<QProcess> child = startChild(name, args);
    QByteArray out;
    bool ready = false;
    while (!ready && child->waitForReadyRead(60000)) {
        out += child->readAllStandardOutput();
        ready = out.contains("ready\n");
    }
    child->kill();
    child->waitForFinished(10000);
    if (childOutput)
        *childOutput = QString::fromUtf8(out + child->readAllStandardError());
    return ready;
}

} // namespace vexa::test

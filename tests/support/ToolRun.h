// The program's command-line tools run as child processes, in a UTF-8 locale.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

namespace vexa::test {

struct ToolRun {
    int exitCode;
    QByteArray out, err;
};

// `program` from the test's own folder, where the build puts every program.
inline ToolRun runTool(const QString &program, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "en_US.UTF-8");
    env.insert("LANG", "en_US.UTF-8");
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationDirPath() + "/" + program, args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

} // namespace vexa::test

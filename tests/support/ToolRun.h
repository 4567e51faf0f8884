// The program's command-line tools run as child processes, in a UTF-8 locale.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace vexa::test {

struct ToolRun {
    int exitCode;
    QByteArray out, err;
};

// `program` from the test's own folder, where the build puts every program;
// `variables` ("TZ=Asia/Tokyo") added to its environment.
inline ToolRun runTool(const QString &program, const QStringList &args,
                       const QStringList &variables = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "en_US.UTF-8");
    env.insert("LANG", "en_US.UTF-8");
    // Without one Qt warns on standard error, which the tests compare whole.
    static const QTemporaryDir runtime;
    if (!env.contains("XDG_RUNTIME_DIR"))
        env.insert("XDG_RUNTIME_DIR", runtime.path());
    for (const QString &variable : variables)
        env.insert(variable.section('=', 0, 0), variable.section('=', 1));
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationDirPath() + "/" + program, args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

} // namespace vexa::test

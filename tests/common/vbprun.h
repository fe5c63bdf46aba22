#ifndef VBPRUN_H
#define VBPRUN_H

// Runs the built vbp program (ZR_BINARY_DIR/bin/vbp, or the given path) and
// collects what it said; exit code -1 when it did not finish normally.

#include <QProcess>
#include <QStringList>

struct VbpRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline QString vbpProgram()
{
    return qEnvironmentVariable("ZR_BINARY_DIR") + QStringLiteral("/bin/vbp");
}

inline VbpRun runVbp(const QStringList &arguments, const QString &program = vbpProgram())
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

#endif // VBPRUN_H

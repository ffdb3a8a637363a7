#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace tavro::test {

// One run of a command-line program: exit status (-1 when it crashed, hung or never started), its
// output as bytes and as UTF-8 text, and its error text.
struct CliRun {
    int status = -1;
    QByteArray bytes;
    QString out;
    QString err;
};

inline CliRun runProgram(const QString &program, const QStringList &args, const QByteArray &input = {},
                         int timeoutMs = 120000) {
    QProcess p;
    // A process that could not be started ran nothing; on a loaded machine (Wine's process start in
    // particular) it may start on a second try. Its exit code would read 0, so it must not count.
    for (int attempt = 1;; ++attempt) {
        p.start(program, args);
        if (p.waitForStarted() || p.state() != QProcess::NotRunning)
            break;
        if (attempt == 3) {
            CliRun run;
            run.err = QStringLiteral("%1 did not start: %2").arg(program, p.errorString());
            return run;
        }
    }
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(timeoutMs);
    CliRun run;
    run.status =
        p.exitStatus() == QProcess::NormalExit && p.state() == QProcess::NotRunning ? p.exitCode() : -1;
    run.bytes = p.readAllStandardOutput();
    run.out = QString::fromUtf8(run.bytes);
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

#ifdef TAVRO_CLI_PATH
// tavro-cli of this build.
inline CliRun cli(const QStringList &args, const QByteArray &input = {}) {
    return runProgram(QStringLiteral(TAVRO_CLI_PATH), args, input);
}
#endif

} // namespace tavro::test

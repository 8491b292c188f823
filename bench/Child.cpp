#include "Child.h"

#include <QCoreApplication>
#include <QProcess>
#include <cstdio>

namespace lumidot::bench {

namespace {

// How long a child is given to end once it has been sent SIGTERM.
constexpr int kSignalDeadlineSeconds = 10;
// How long the signal child is given to play its sound.
constexpr int kSoundDeadlineSeconds = 60;

QString Name(const QStringList& arguments) {
    return arguments.isEmpty() ? QStringLiteral("the") : arguments.last();
}

void Start(QProcess& child, const QStringList& arguments) {
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
}

void Kill(QProcess& child) {
    child.kill();
    child.waitForFinished(5000);
}

void ReadFigures(const QByteArray& output, Figures& figures) {
    for (const QByteArray& line : output.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0) {
            figures[line.left(equals).toStdString()] = line.mid(equals + 1).toDouble();
        }
    }
}

// Waits for the child to print the line; false when it ends or the
// deadline comes first.
bool WaitForLine(QProcess& child, const QByteArray& line, int seconds, QByteArray& output) {
    const double deadline = MonotonicSeconds() + seconds;
    while (!output.contains(line)) {
        const double left = deadline - MonotonicSeconds();
        if (left <= 0 || child.state() == QProcess::NotRunning) {
            return false;
        }
        child.waitForReadyRead(static_cast<int>(left * 1000.0) + 1);
        output += child.readAllStandardOutput();
    }
    return true;
}

}  // namespace

bool RunChild(const QStringList& arguments, int seconds, Figures& figures) {
    const QByteArray name = Name(arguments).toLocal8Bit();
    QProcess child;
    Start(child, arguments);
    if (!child.waitForStarted(30000)) {
        std::fprintf(stderr, "lumidot_bench: the %s run could not be started\n", name.constData());
        return false;
    }
    if (!child.waitForFinished(seconds * 1000)) {
        Kill(child);
        std::fprintf(stderr, "lumidot_bench: the %s run did not end within %d s and was killed\n",
                     name.constData(), seconds);
        return false;
    }
    ReadFigures(child.readAllStandardOutput(), figures);
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        std::fprintf(stderr, "lumidot_bench: the %s run failed (%s %d)\n", name.constData(),
                     child.exitStatus() == QProcess::NormalExit ? "exit code" : "crashed,",
                     child.exitCode());
        return false;
    }
    return true;
}

bool RunSignalChild(Figures& figures) {
    QProcess child;
    Start(child, {QStringLiteral("--figure"), QStringLiteral("signal")});
    QByteArray output;
    if (!WaitForLine(child, "sound ended", kSoundDeadlineSeconds, output)) {
        Kill(child);
        std::fputs("lumidot_bench: the signal run never said its sound had ended\n", stderr);
        return false;
    }
    const double sent = MonotonicSeconds();
    child.terminate();
    if (!child.waitForFinished(kSignalDeadlineSeconds * 1000)) {
        Kill(child);
        std::fprintf(stderr, "lumidot_bench: the signal run did not end within %d s of SIGTERM\n",
                     kSignalDeadlineSeconds);
        return false;
    }
    figures["signal to exit"] = 1000.0 * (MonotonicSeconds() - sent);
    figures["signal exit code"] =
        child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1.0;
    return true;
}

}  // namespace lumidot::bench

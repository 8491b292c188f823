#include "Child.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>

#include "KeyToScreen.h"

namespace lumidot::bench {

namespace {

// How long a child is given to end once it has been sent SIGTERM.
constexpr int kSignalDeadlineSeconds = 10;
// How long the signal child is given to play its sound.
constexpr int kSoundDeadlineSeconds = 60;
// How long a game's child is given for its whole script.
constexpr int kMachineDeadlineSeconds = 300;
// How long each quiet spell is counted, and how often the threads' counts
// are read meanwhile.
constexpr double kQuietSeconds = 3.0;
constexpr int kSampleMilliseconds = 100;
// Key presses timed in the menu: the speed key, a multiple of its three
// settings, so that the game is played at the speed the script chose.
constexpr char kMenuKey = '2';
constexpr int kMenuPresses = 30;

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

// The context switches, voluntary and not, of each thread of a process.
std::map<int, long long> Switches(qint64 pid) {
    std::map<int, long long> counts;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& thread : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks.filePath(thread + QStringLiteral("/status")));
        if (!status.open(QIODevice::ReadOnly)) {
            continue;  // it has ended meanwhile
        }
        long long sum = 0;
        for (const QByteArray& line : status.readAll().split('\n')) {
            // "voluntary_ctxt_switches:" and "nonvoluntary_ctxt_switches:"
            if (line.contains("voluntary_ctxt_switches:")) {
                sum += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
            }
        }
        counts[thread.toInt()] = sum;
    }
    return counts;
}

// A child's wake-ups over a spell: each thread's switches since the spell
// began, or since it started. Read often enough that a thread which ends
// meanwhile is counted up to its last tenth of a second.
class Spell {
  public:
    explicit Spell(qint64 pid) : pid_(pid), first_(Switches(pid)), last_(first_) {}

    void Sample() {
        for (const auto& [thread, count] : Switches(pid_)) {
            last_[thread] = count;
        }
    }

    double PerSecond() {
        Sample();
        long long total = 0;
        for (const auto& [thread, count] : last_) {
            const auto first = first_.find(thread);
            total += count - (first == first_.end() ? 0 : first->second);
        }
        return static_cast<double>(total) / (MonotonicSeconds() - began_);
    }

  private:
    qint64 pid_;
    double began_ = MonotonicSeconds();
    std::map<int, long long> first_;
    std::map<int, long long> last_;
};

// A quiet spell of the child: counted, the menu's key timed, then the
// child is told to go on.
void CountQuietSpell(QProcess& child, const QByteArray& name, Figures& figures) {
    Spell spell(child.processId());
    for (const double end = MonotonicSeconds() + kQuietSeconds; MonotonicSeconds() < end;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kSampleMilliseconds));
        spell.Sample();
    }
    figures["wakeups " + name.toStdString()] = spell.PerSecond();
    if (name == "menu") {
        const double median = KeyToScreenMedian(kMenuKey, kMenuPresses);
        if (median >= 0) {
            figures["key to screen median"] = median;
        }
    }
    child.write("go\n");
    child.waitForBytesWritten(5000);
}

}  // namespace

namespace {

// What a game's child says between its figures: its quiet spells and the
// frame of its play.
class Listener {
  public:
    Listener(QProcess& child, Figures& figures) : child_(child), figures_(figures) {}

    void Hear(const QByteArray& line) {
        if (line.startsWith("quiet ")) {
            CountQuietSpell(child_, line.mid(6), figures_);
        } else if (line == "from playing") {
            playing_.emplace(child_.processId());
        } else if (line == "to playing" && playing_) {
            figures_["wakeups playing"] = playing_->PerSecond();
            playing_.reset();
        }
    }

    // Between two lines, so that a thread that ends is counted.
    void Sample() {
        if (playing_) {
            playing_->Sample();
        }
    }

  private:
    QProcess& child_;
    Figures& figures_;
    std::optional<Spell> playing_;
};

}  // namespace

bool RunMachineChild(const QString& design, Figures& figures) {
    QProcess child;
    const double spawned = MonotonicSeconds();
    Start(child, {QStringLiteral("--design"), design});
    Listener listener(child, figures);
    QByteArray output;
    QByteArray pending;
    while (child.state() != QProcess::NotRunning &&
           MonotonicSeconds() < spawned + kMachineDeadlineSeconds) {
        child.waitForReadyRead(kSampleMilliseconds);
        pending += child.readAllStandardOutput();
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            listener.Hear(pending.left(end));
            output += pending.left(end + 1);
            pending.remove(0, end + 1);
        }
        listener.Sample();
    }
    const QByteArray name = design.toLocal8Bit();
    if (child.state() != QProcess::NotRunning) {
        Kill(child);
        std::fprintf(stderr, "lumidot_bench: the %s run did not end within %d s and was killed\n",
                     name.constData(), kMachineDeadlineSeconds);
        return false;
    }
    ReadFigures(output + pending + child.readAllStandardOutput(), figures);
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 ||
        figures.count("first paint at") == 0) {
        std::fprintf(stderr, "lumidot_bench: the %s run failed\n", name.constData());
        return false;
    }
    figures["start to first paint"] = 1000.0 * (figures["first paint at"] - spawned);
    return true;
}

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

#pragma once
// Small helpers shared by the benchmark programs: wall-clock timing, running a peer command, and
// the process's resident memory.
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

// The median wall time of `runs` calls, in milliseconds.
inline double MedianMs(int runs, const std::function<void()> &body) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        body();
        times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Runs a command to its end, discarding its output.
inline void RunQuietly(const QString &program, const QStringList &args) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, args);
    p.waitForFinished(-1);
}

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM").
inline long StatusKiB(const char *field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field)) return line.mid(static_cast<qsizetype>(qstrlen(field)) + 1).trimmed().split(' ').first().toLong();
    return -1;
}

// One whole run of a program: its wall time, its own peak resident memory and its exit status
// (-1 when it did not exit).
struct WholeRun {
    double ms = 0;
    long peakKiB = 0;
    int status = -1;
};

// Runs `program arguments...` to its end through peak_runner (see there why), standard output into
// `output` (a path; /dev/null to discard it), standard error discarded.
inline WholeRun RunWhole(const QString &program, const QStringList &arguments,
                         const QString &output = QStringLiteral("/dev/null")) {
    std::vector<QByteArray> owned{QByteArrayLiteral(PEAK_RUNNER), QFile::encodeName(program)};
    for (const QString &a : arguments)
        owned.push_back(QFile::encodeName(a));
    std::vector<char *> argv;
    for (QByteArray &a : owned)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, QFile::encodeName(output).constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, report[1], 3);
    pid_t pid = 0;
    const bool spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(report[1]);
    WholeRun run;
    if (spawned) {
        char line[128] = {};
        std::size_t got = 0;
        for (ssize_t n; got < sizeof line - 1 && (n = ::read(report[0], line + got, sizeof line - 1 - got)) > 0;)
            got += static_cast<std::size_t>(n);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (std::sscanf(line, "%lf %ld %d", &run.ms, &run.peakKiB, &run.status) != 3) run = {};
    }
    ::close(report[0]);
    return run;
}

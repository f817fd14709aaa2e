#pragma once
// Small helpers shared by the benchmark programs: wall-clock timing, running a peer command, and
// the process's resident memory.
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <algorithm>
#include <functional>
#include <vector>

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

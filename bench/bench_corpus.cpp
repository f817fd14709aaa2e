// zorvika-cli over a corpus, whole process beside whole process: `list --json -j 1` and `-j 2` over
// every file of a folder (Wine's x86-64 libraries by default) beside one Python process listing the
// same resources with pefile (bench/pefile_list.py), the three interleaved round by round, so that
// each meets the same load of the machine. Then the peak memory of a run over 10 copies of one
// library beside a run over 10,000 copies of it.
// Usage: bench_corpus [folder] [rounds] [library to copy]
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cstdio>

namespace {
const QString kCli = QStringLiteral(CLI_PROGRAM);
const QString kPython = QStringLiteral("/usr/bin/python3");
const QString kPefileScript = QStringLiteral(PEFILE_SCRIPT);

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The (type, name, language) entries a JSON Lines listing holds: ours gives each name's languages,
// pefile's one entry a language.
qsizetype Entries(const QString &path, bool ours) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    qsizetype n = 0;
    for (const QByteArray &line : f.readAll().split('\n')) {
        const QJsonArray resources = QJsonDocument::fromJson(line)[QStringLiteral("resources")].toArray();
        for (const QJsonValue r : resources)
            n += ours ? r[QStringLiteral("languages")].toArray().size() : 1;
    }
    return n;
}
} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows");
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    const QString library = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QDir(folder).filePath(QStringLiteral("hh.exe"));
    QStringList files;
    for (const QString &name : QDir(folder).entryList(QDir::Files, QDir::Name))
        files << QDir(folder).filePath(name);
    if (files.isEmpty() || !QFileInfo(library).isFile() || !QFileInfo(kPython).isExecutable()) {
        std::fprintf(stderr, "needs %s, %s and %s with python3-pefile\n", qPrintable(folder), qPrintable(library),
                     qPrintable(kPython));
        return 1;
    }
    QTemporaryDir work;

    // The same resources, counted in each listing.
    const QString ours = work.filePath(QStringLiteral("ours")), theirs = work.filePath(QStringLiteral("theirs"));
    RunWhole(kCli, QStringList{QStringLiteral("list"), QStringLiteral("--json")} + files, ours);
    RunWhole(kPython, QStringList{kPefileScript} + files, theirs);
    std::printf("corpus: %s, %lld files; entries listed: zorvika-cli %lld, pefile %lld\n", qPrintable(folder),
                static_cast<long long>(files.size()), static_cast<long long>(Entries(ours, true)),
                static_cast<long long>(Entries(theirs, false)));

    const QStringList one{QStringLiteral("list"), QStringLiteral("--json"), QStringLiteral("-j"), QStringLiteral("1")};
    const QStringList two{QStringLiteral("list"), QStringLiteral("--json"), QStringLiteral("-j"), QStringLiteral("2")};
    std::vector<double> python, j1, j2;
    for (int round = 0; round < rounds; ++round) {
        // Each round starts with another of the three.
        for (int k = 0; k < 3; ++k) {
            switch ((round + k) % 3) {
            case 0: python.push_back(RunWhole(kPython, QStringList{kPefileScript} + files).ms); break;
            case 1: j1.push_back(RunWhole(kCli, one + files).ms); break;
            default: j2.push_back(RunWhole(kCli, two + files).ms); break;
            }
        }
    }
    const double p = Median(python), a = Median(j1), b = Median(j2);
    std::printf("%d rounds, medians of wall time:\n", rounds);
    std::printf("  python3 pefile_list.py      %9.1f ms\n", p);
    std::printf("  zorvika-cli list --json -j1 %9.1f ms   ratio to pefile %.3f (goal <= 0.10)\n", a, a / p);
    std::printf("  zorvika-cli list --json -j2 %9.1f ms   ratio to -j1    %.3f (goal <= 0.60)\n", b, b / a);

    // Peak memory over 10 copies and over 10,000 copies of one library, in folders of their own.
    const int counts[] = {10, 10000};
    QStringList folders;
    for (const int count : counts) {
        const QString dir = work.filePath(QStringLiteral("copies%1").arg(count));
        QDir().mkpath(dir);
        for (int i = 0; i < count; ++i)
            QFile::copy(library, QStringLiteral("%1/copy%2.dll").arg(dir).arg(i, 5, 10, QLatin1Char('0')));
        folders << dir;
    }
    std::vector<double> peak[2], time[2];
    for (int round = 0; round < 3; ++round)
        for (int k = 0; k < 2; ++k) {
            const WholeRun m = RunWhole(kCli, {QStringLiteral("list"), QStringLiteral("--json"), QStringLiteral("-r"), folders[k]});
            peak[k].push_back(static_cast<double>(m.peakKiB));
            time[k].push_back(m.ms);
        }
    const double small = Median(peak[0]), large = Median(peak[1]);
    std::printf("peak memory of list --json -r (one per core), copies of %s:\n", qPrintable(QFileInfo(library).fileName()));
    std::printf("  over %5d files %8.0f KiB  (%.1f ms)\n", counts[0], small, Median(time[0]));
    std::printf("  over %5d files %8.0f KiB  (%.1f ms)   ratio %.3f (goal <= 1.5)\n", counts[1], large, Median(time[1]),
                large / small);
    return 0;
}

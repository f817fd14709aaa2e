// zorvika-thumbnailer beside exe-thumbnailer (Debian's icoextract-thumbnailer), whole process beside
// whole process on the same files, the two interleaved so that both meet the same load: time per
// file, peak resident memory, and the size of the image each gives, at sizes 128 and 256, on
// Shell32.dll and over every one of Wine's x86-64 libraries that has an icon group.
// Usage: bench_thumbnailer [repetitions over all libraries] (Shell32.dll gets three times as many)
#include "BenchSupport.h"
#include "resources/ModuleCatalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageReader>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <map>

namespace {
const QString kWine = QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows");

struct Measure {
    double ms = 0;
    long peakKiB = 0;
    int side = 0; // the larger side of the image written; 0 when none was
};

// One whole run of `program arguments...`; `output` is the image it writes.
Measure RunThumbnailer(const QString &program, const QStringList &arguments, const QString &output) {
    QFile::remove(output);
    const WholeRun run = RunWhole(program, arguments);
    const QSize written = QImageReader(output).size();
    return {run.ms, run.peakKiB, written.isValid() ? std::max(written.width(), written.height()) : 0};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

struct Side {
    std::vector<double> fileMs;    // median time of each file
    std::vector<long> filePeakKiB; // largest peak of each file
    std::vector<int> fileSide;
};

// Both programs on every file, `runs` times each, alternating which goes first.
std::pair<Side, Side> Compare(const QString &ours, const QString &theirs, const QStringList &files, int size,
                              int runs, const QString &work) {
    Side a, b;
    for (const QString &file : files) {
        std::vector<double> msA, msB;
        long peakA = 0, peakB = 0;
        int sideA = 0, sideB = 0;
        for (int i = 0; i < runs; ++i) {
            const bool oursFirst = i % 2 == 0;
            for (int turn = 0; turn < 2; ++turn) {
                const bool mine = (turn == 0) == oursFirst;
                const QString output =
                    work + (mine ? QStringLiteral("/ours.png") : QStringLiteral("/theirs.png"));
                const Measure m =
                    RunThumbnailer(mine ? ours : theirs,
                             {QStringLiteral("-s"), QString::number(size), file, output}, output);
                (mine ? msA : msB).push_back(m.ms);
                long &peak = mine ? peakA : peakB;
                peak = std::max(peak, m.peakKiB);
                (mine ? sideA : sideB) = m.side;
            }
        }
        a.fileMs.push_back(Median(msA));
        b.fileMs.push_back(Median(msB));
        a.filePeakKiB.push_back(peakA);
        b.filePeakKiB.push_back(peakB);
        a.fileSide.push_back(sideA);
        b.fileSide.push_back(sideB);
    }
    return {a, b};
}

void Report(const char *label, int size, const QStringList &files, const Side &ours, const Side &theirs) {
    double msOurs = 0, msTheirs = 0;
    for (std::size_t i = 0; i < ours.fileMs.size(); ++i) {
        msOurs += ours.fileMs[i];
        msTheirs += theirs.fileMs[i];
    }
    const double n = static_cast<double>(files.size());
    const long peakOurs = *std::max_element(ours.filePeakKiB.begin(), ours.filePeakKiB.end());
    const long peakTheirs = *std::max_element(theirs.filePeakKiB.begin(), theirs.filePeakKiB.end());
    // Each file's own ratios: their median and the worst file.
    std::vector<double> timeRatios, memoryRatios;
    for (std::size_t i = 0; i < ours.fileMs.size(); ++i) {
        timeRatios.push_back(ours.fileMs[i] / theirs.fileMs[i]);
        memoryRatios.push_back(static_cast<double>(ours.filePeakKiB[i]) /
                               static_cast<double>(theirs.filePeakKiB[i]));
    }
    const double worstTime = *std::max_element(timeRatios.begin(), timeRatios.end());
    const double worstMemory = *std::max_element(memoryRatios.begin(), memoryRatios.end());
    int atLeast = 0, larger = 0, theirsNone = 0;
    QStringList smaller;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const int o = ours.fileSide[static_cast<std::size_t>(i)],
                  t = theirs.fileSide[static_cast<std::size_t>(i)];
        if (t == 0) ++theirsNone;
        if (o >= t) ++atLeast;
        if (o > t) ++larger;
        if (o < t)
            smaller << QStringLiteral("%1 (%2 < %3)").arg(QFileInfo(files[i]).fileName()).arg(o).arg(t);
    }
    std::printf(
        "| %s | %d | %lld | %.1f | %.1f | %.3f | %.3f / %.3f | %.1f | %.1f | %.3f | %.3f / %.3f | %d/%lld "
        "| %d | %d |\n",
        label, size, static_cast<long long>(files.size()), msOurs / n, msTheirs / n, msOurs / msTheirs,
        Median(timeRatios), worstTime, static_cast<double>(peakOurs) / 1024,
        static_cast<double>(peakTheirs) / 1024,
        static_cast<double>(peakOurs) / static_cast<double>(peakTheirs), Median(memoryRatios), worstMemory,
        atLeast, static_cast<long long>(files.size()), larger, theirsNone);
    for (const QString &s : smaller)
        std::printf("  smaller than theirs: %s\n", qPrintable(s));
}
} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const QString ours = QStringLiteral(THUMBNAILER_PROGRAM);
    const QString theirs = QStandardPaths::findExecutable(QStringLiteral("exe-thumbnailer"));
    if (theirs.isEmpty() || !QDir(kWine).exists()) {
        std::fprintf(stderr, "needs exe-thumbnailer (package icoextract-thumbnailer) and %s\n",
                     qPrintable(kWine));
        return 1;
    }
    QStringList all;
    for (const QString &name : QDir(kWine).entryList(QDir::Files, QDir::Name)) {
        const QString path = QDir(kWine).filePath(name);
        const auto module = ModuleCatalogue::Open(path);
        if (module && !module->Names(ResourceId::fromNumber(14)).empty()) all << path;
    }
    const QStringList shell32{QDir(kWine).filePath(QStringLiteral("shell32.dll"))};
    QTemporaryDir work;
    std::printf(
        "zorvika-thumbnailer beside exe-thumbnailer: whole processes, interleaved; time per file is the\n"
        "mean over files of each file's median wall time (%d runs on Shell32.dll, %d on each library);\n"
        "peak is the largest peak resident memory of any run; the per-file columns give the median and\n"
        "the worst of each file's own ratio; 'image >=' counts files where our image's larger side is at\n"
        "least theirs ('larger': strictly; 'theirs none': they wrote no image).\n\n",
        3 * runs, runs);
    std::printf(
        "| files | size | n | ours ms/file | theirs ms/file | time ratio | per file: median / worst "
        "| ours peak MiB | theirs peak MiB | memory ratio | per file: median / worst | image >= | larger "
        "| theirs none |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (const int size : {128, 256}) {
        const auto [o1, t1] = Compare(ours, theirs, shell32, size, 3 * runs, work.path());
        Report("shell32.dll", size, shell32, o1, t1);
        const auto [o2, t2] = Compare(ours, theirs, all, size, runs, work.path());
        Report("Wine x86-64", size, all, o2, t2);
    }
    // What starting the programs costs before either reads a file: Qt Gui and the libraries it
    // brings, Python and the modules the script imports.
    std::vector<double> floorOurs, floorTheirs;
    long peakOurs = 0, peakTheirs = 0;
    for (int i = 0; i < 9; ++i) {
        const QString none = work.filePath(QStringLiteral("none.png")); // neither writes an image
        const Measure o = RunThumbnailer(ours, {QStringLiteral("--version")}, none);
        const Measure t = RunThumbnailer(theirs, {QStringLiteral("--help")}, none);
        floorOurs.push_back(o.ms);
        floorTheirs.push_back(t.ms);
        peakOurs = std::max(peakOurs, o.peakKiB);
        peakTheirs = std::max(peakTheirs, t.peakKiB);
    }
    std::printf(
        "\nfloors (started and ended, no file read): zorvika-thumbnailer --version %.1f ms, %.1f MiB; "
        "exe-thumbnailer --help %.1f ms, %.1f MiB\n",
        Median(floorOurs), static_cast<double>(peakOurs) / 1024, Median(floorTheirs),
        static_cast<double>(peakTheirs) / 1024);
    std::printf("goals: time ratio <= 0.1, memory ratio <= 0.5, image >= on every file\n");
    return 0;
}

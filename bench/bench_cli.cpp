// zorvika-cli beside icoutils, whole processes timed in the same run: `list` of a library beside
// `wrestool -l`, and every icon group written as PNG (`extract -t 14 --png`) beside `wrestool -x -t14`
// followed by `icotool -x`. Start-up floors: `zorvika-cli --version` and /bin/true.
// Usage: bench_cli [library] [repetitions]
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

namespace {
const QString kCli = QStringLiteral(CLI_PROGRAM);

qsizetype Pngs(const QString &folder) {
    return QDir(folder).entryList({QStringLiteral("*.png")}, QDir::Files).size();
}
} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QString library = argc > 1
                                ? QString::fromLocal8Bit(argv[1])
                                : QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll");
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 11;
    const QString wrestool = QStandardPaths::findExecutable(QStringLiteral("wrestool"));
    const QString icotool = QStandardPaths::findExecutable(QStringLiteral("icotool"));
    if (!QFileInfo(library).isFile() || wrestool.isEmpty() || icotool.isEmpty()) {
        std::fprintf(stderr, "needs %s, wrestool and icotool\n", qPrintable(library));
        return 1;
    }
    std::printf("library: %s (%lld bytes), %d runs each, medians of wall time\n", qPrintable(library),
                static_cast<long long>(QFileInfo(library).size()), runs);

    const double trueMs = MedianMs(runs, [] { RunQuietly(QStringLiteral("/bin/true"), {}); });
    const double versionMs = MedianMs(runs, [] { RunQuietly(kCli, {QStringLiteral("--version")}); });
    std::printf("floor: /bin/true %.1f ms, zorvika-cli --version %.1f ms\n", trueMs, versionMs);

    // Listing: the two alternate, so that both meet the same load of the machine.
    std::vector<double> ours, theirs;
    for (int i = 0; i < runs; ++i) {
        ours.push_back(MedianMs(1, [&] { RunQuietly(kCli, {QStringLiteral("list"), library}); }));
        theirs.push_back(MedianMs(1, [&] { RunQuietly(wrestool, {QStringLiteral("-l"), library}); }));
    }
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    const double listOurs = ours[ours.size() / 2], listTheirs = theirs[theirs.size() / 2];
    std::printf("list:    zorvika-cli list %8.1f ms   wrestool -l %8.1f ms   ratio %.2f (goal <= 0.50)\n",
                listOurs, listTheirs, listOurs / listTheirs);

    // Icon groups to PNG.
    QTemporaryDir work;
    qsizetype oursPngs = 0, theirPngs = 0;
    ours.clear();
    theirs.clear();
    const int iconRuns = std::max(1, runs / 3);
    for (int i = 0; i < iconRuns; ++i) {
        const QString mine = work.filePath(QStringLiteral("ours%1").arg(i));
        ours.push_back(MedianMs(1, [&] {
            RunQuietly(kCli, {QStringLiteral("extract"), library, QStringLiteral("-t14"),
                              QStringLiteral("--png"), QStringLiteral("-o"), mine});
        }));
        oursPngs = Pngs(mine);
        const QString icons = work.filePath(QStringLiteral("ico%1").arg(i));
        const QString pngs = work.filePath(QStringLiteral("png%1").arg(i));
        QDir().mkpath(icons);
        QDir().mkpath(pngs);
        theirs.push_back(MedianMs(1, [&] {
            RunQuietly(wrestool,
                       {QStringLiteral("-x"), QStringLiteral("-t14"), QStringLiteral("-o"), icons, library});
            QStringList files;
            for (const QString &f : QDir(icons).entryList({QStringLiteral("*.ico")}, QDir::Files))
                files << QDir(icons).filePath(f);
            RunQuietly(icotool, QStringList{QStringLiteral("-x"), QStringLiteral("-o"), pngs} + files);
        }));
        theirPngs = Pngs(pngs);
    }
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    const double iconsOurs = ours[ours.size() / 2], iconsTheirs = theirs[theirs.size() / 2];
    std::printf("icons:   zorvika-cli extract -t 14 --png %8.1f ms (%lld PNG, one per group: the image shown)\n"
                "         wrestool -x -t14 + icotool -x %8.1f ms (%lld PNG, every image of every group)\n"
                "         ratio %.2f (goal < 1), per PNG %.2f ms vs %.2f ms\n",
                iconsOurs, static_cast<long long>(oursPngs), iconsTheirs, static_cast<long long>(theirPngs),
                iconsOurs / iconsTheirs, iconsOurs / static_cast<double>(std::max<qsizetype>(1, oursPngs)),
                iconsTheirs / static_cast<double>(std::max<qsizetype>(1, theirPngs)));
    return 0;
}

// Opening a file and listing every type and name (with each resource's size), beside
// `wrestool -l` on the same file in the same run; and the memory a large file costs.
#include "BenchSupport.h"
#include "decoders/ResourceAccess.h"
#include "pe/PeImage.h"
#include "resources/Module.h"
#include "resources/tree/ResourceTree.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

namespace {
// The platform layer alone: open, every type, every name, every resource found.
std::size_t EnumerateAll(const QString &path) {
    const auto image = PeImage::Load(path);
    std::size_t total = 0;
    for (const ResourceId &type : image->Types())
        for (const ResourceId &name : image->Names(type))
            if (const auto data = image->Locate(type, name)) total += data->size;
    return total;
}

// What the window does: the tree with every type expanded.
int TreeAll(const QString &path) {
    QStandardItemModel tree;
    QStandardItem *root = OpenResourceFile(tree, path, QStringLiteral("x"));
    int names = 0;
    for (int i = 0; i < root->rowCount(); ++i) {
        ExpandNode(tree, root->child(i));
        names += root->child(i)->rowCount();
    }
    ReleaseModule();
    return names;
}

QString Compile(const QTemporaryDir &dir, const QString &name, const QString &rc) {
    QFile f(dir.filePath(name + QStringLiteral(".rc")));
    f.open(QIODevice::WriteOnly);
    f.write(rc.toUtf8());
    f.close();
    const QString obj = dir.filePath(name + QStringLiteral(".o")), dll = dir.filePath(name + QStringLiteral(".dll"));
    RunQuietly(QStringLiteral("x86_64-w64-mingw32-windres"), {QStringLiteral("-I"), dir.path(), QStringLiteral("-i"), f.fileName(), QStringLiteral("-o"), obj});
    RunQuietly(QStringLiteral("x86_64-w64-mingw32-ld"), {QStringLiteral("--dll"), QStringLiteral("-e"), QStringLiteral("0"), QStringLiteral("-o"), dll, obj});
    return dll;
}

void Compare(const QString &label, const QString &path, int runs) {
    if (!QFile::exists(path)) {
        std::printf("%-22s missing: %s\n", qPrintable(label), qPrintable(path));
        return;
    }
    const double ours = MedianMs(runs, [&] { EnumerateAll(path); });
    const double tree = MedianMs(std::max(3, runs / 10), [&] { TreeAll(path); });
    const double peer = MedianMs(std::max(3, runs / 10), [&] { RunQuietly(QStringLiteral("wrestool"), {QStringLiteral("-l"), path}); });
    std::printf("%-22s reader %8.3f ms | tree %8.3f ms | wrestool -l %8.3f ms | reader/wrestool %.4f | tree/wrestool %.4f\n",
                qPrintable(label), ours, tree, peer, ours / peer, tree / peer);
}
} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;

    Compare(QStringLiteral("shell32.dll (Wine)"), QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll"), 200);

    QString many;
    for (int i = 1; i <= 60000; ++i) many += QStringLiteral("%1 RCDATA { \"r%1\" }\n").arg(i);
    Compare(QStringLiteral("60,000 resources"), Compile(dir, QStringLiteral("many"), many), 20);

    // A 100 MiB resource: the file is mapped, so listing it and finding its data costs pages of
    // the directory, not the file.
    {
        QFile big(dir.filePath(QStringLiteral("big.bin")));
        big.open(QIODevice::WriteOnly);
        big.resize(100 * 1024 * 1024);
        big.close();
    }
    const QString bigDll = Compile(dir, QStringLiteral("big"), QStringLiteral("BIG RCDATA \"big.bin\"\n1 RCDATA { \"small\" }\n"));
    const long before = StatusKiB("VmRSS:");
    const auto image = PeImage::Load(bigDll);
    std::size_t size = 0;
    for (const ResourceId &type : image->Types())
        for (const ResourceId &name : image->Names(type))
            if (const auto data = image->Locate(type, name)) size += data->size;
    const long after = StatusKiB("VmRSS:");
    std::printf("100 MiB file (%lld bytes): resources %zu bytes; resident memory grew by %ld KiB after open and listing\n",
                static_cast<long long>(QFileInfo(bigDll).size()), size, after - before);
    return 0;
}

// Opening a file and listing every type and name (with each resource's size), in-process beside the
// floor of the same work: the file opened and mapped, its directory bytes walked with no checks and
// no strings, and closed again. The walk of bytes already in memory is printed too. The
// whole-process comparison with `wrestool -l` is the command-line tool's benchmark. Also the
// window's full tree, and the memory a large file costs.
#include "BenchSupport.h"
#include "TreeNodes.h"
#include "resources/ModuleCatalogue.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
template <typename T> T At(std::span<const char> file, std::size_t offset) {
    T v;
    std::memcpy(&v, file.data() + offset, sizeof v);
    return v;
}

// The floor: the three directory levels walked straight from the file's bytes, every data entry's
// size summed. Trusts the file, which must be a well-formed PE image with resources.
std::size_t PlainWalk(std::span<const char> file) {
    const auto pe = At<std::uint32_t>(file, 0x3C);
    const auto sections = At<std::uint16_t>(file, pe + 6);
    const std::size_t optional = pe + 24;
    const bool plus = At<std::uint16_t>(file, optional) == 0x20B;
    const auto rva = At<std::uint32_t>(file, optional + (plus ? 112 : 96) + 2 * 8);
    std::size_t base = 0;
    for (std::size_t s = 0, at = optional + At<std::uint16_t>(file, pe + 20); s < sections; ++s, at += 40) {
        const auto va = At<std::uint32_t>(file, at + 12), raw = At<std::uint32_t>(file, at + 20);
        if (rva >= va && rva < va + At<std::uint32_t>(file, at + 16)) base = raw + (rva - va);
    }
    auto count = [&](std::size_t dir) {
        return std::size_t{At<std::uint16_t>(file, base + dir + 12)} +
               At<std::uint16_t>(file, base + dir + 14);
    };
    auto target = [&](std::size_t dir, std::size_t i) {
        return At<std::uint32_t>(file, base + dir + 16 + i * 8 + 4) & 0x7FFFFFFFu;
    };
    std::size_t total = 0;
    for (std::size_t t = 0, types = count(0); t < types; ++t) {
        const std::size_t names = target(0, t);
        for (std::size_t n = 0, nameCount = count(names); n < nameCount; ++n) {
            const std::size_t languages = target(names, n);
            for (std::size_t l = 0, languageCount = count(languages); l < languageCount; ++l)
                total += At<std::uint32_t>(file, base + target(languages, l) + 4);
        }
    }
    return total;
}

// The floor of opening and listing: the least a reader of the file does.
std::size_t OpenAndWalk(const QString &path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    ::fstat(fd, &info);
    const auto size = static_cast<std::size_t>(info.st_size);
    void *map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    const std::size_t total = PlainWalk(std::span(static_cast<const char *>(map), size));
    ::munmap(map, size);
    ::close(fd);
    return total;
}

// The catalogue: open, every type, every name, every resource's size in the language shown.
std::size_t ListAll(const QString &path) {
    const auto module = ModuleCatalogue::Open(path);
    std::size_t total = 0;
    for (const ResourceId &type : module->Types())
        for (const ResourceId &name : module->Names(type))
            total += module->Size({type, name}).value_or(0);
    return total;
}

// What the window does: the file opened, the tree with every type expanded, and every node's text
// read as a view that showed them all would read it.
int TreeAll(const QString &path) {
    ResourceTreeModel tree;
    tree.Show(ModuleCatalogue::Open(path), path, QStringLiteral("x"));
    const QModelIndex root = tree.Root();
    int names = 0;
    for (int i = 0; i < Rows(root); ++i) {
        const QModelIndex type = Child(root, i);
        tree.Expand(type);
        for (int n = 0; n < Rows(type); ++n)
            names += static_cast<int>(Text(Child(type, n)).size() > 0);
    }
    return names;
}

QString Compile(const QTemporaryDir &dir, const QString &name, const QString &rc) {
    QFile f(dir.filePath(name + QStringLiteral(".rc")));
    f.open(QIODevice::WriteOnly);
    f.write(rc.toUtf8());
    f.close();
    const QString obj = dir.filePath(name + QStringLiteral(".o")),
                  dll = dir.filePath(name + QStringLiteral(".dll"));
    RunQuietly(
        QStringLiteral("x86_64-w64-mingw32-windres"),
        {QStringLiteral("-I"), dir.path(), QStringLiteral("-i"), f.fileName(), QStringLiteral("-o"), obj});
    RunQuietly(
        QStringLiteral("x86_64-w64-mingw32-ld"),
        {QStringLiteral("--dll"), QStringLiteral("-e"), QStringLiteral("0"), QStringLiteral("-o"), dll, obj});
    return dll;
}

void Compare(const QString &label, const QString &path, int runs) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::printf("%-18s missing: %s\n", qPrintable(label), qPrintable(path));
        return;
    }
    const QByteArray bytes = f.readAll();
    // Interleaved, so all see the same machine; each figure is the median of its runs.
    std::vector<double> inMemory, floor, ours;
    std::size_t check = 0;
    for (int i = 0; i < runs; ++i) {
        inMemory.push_back(
            MedianMs(1, [&] { check += PlainWalk(std::span(bytes.constData(), bytes.size())); }));
        floor.push_back(MedianMs(1, [&] { check += OpenAndWalk(path); }));
        ours.push_back(MedianMs(1, [&] { check -= ListAll(path); }));
    }
    auto median = [](std::vector<double> &v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double memoryWalk = median(inMemory), walk = median(floor), list = median(ours);
    const double tree = MedianMs(std::max(3, runs / 20), [&] { TreeAll(path); });
    // The walks' results are used, so that none of them is optimised away.
    asm volatile("" : : "r"(check));
    std::printf("%-18s walk in memory %7.4f ms | open+map+walk %7.4f ms | catalogue open+list %7.4f ms "
                "(%.1f x open+map+walk) | full tree %7.3f ms\n",
                qPrintable(label), memoryWalk, walk, list, list / walk, tree);
}
} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;

    Compare(QStringLiteral("shell32.dll (Wine)"),
            QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll"), 400);

    QString many;
    for (int i = 1; i <= 60000; ++i)
        many += QStringLiteral("%1 RCDATA { \"r%1\" }\n").arg(i);
    Compare(QStringLiteral("60,000 resources"), Compile(dir, QStringLiteral("many"), many), 40);

    // A 100 MiB resource: listing it and finding its size must cost pages of the directory, not the file.
    {
        QFile big(dir.filePath(QStringLiteral("big.bin")));
        big.open(QIODevice::WriteOnly);
        big.resize(100 * 1024 * 1024);
        big.close();
    }
    const QString bigDll = Compile(dir, QStringLiteral("big"),
                                   QStringLiteral("BIG RCDATA \"big.bin\"\n1 RCDATA { \"small\" }\n"));
    const long before = StatusKiB("VmRSS:");
    const std::size_t size = ListAll(bigDll);
    const long after = StatusKiB("VmRSS:");
    std::printf("100 MiB file (%lld bytes): resources %zu bytes; resident memory grew by %ld KiB after open "
                "and listing\n",
                static_cast<long long>(QFileInfo(bigDll).size()), size, after - before);
    return 0;
}

// Saves through the program's file writer as whoever runs it, and prints what came of it and of
// the target: SaveKeepsTargetTest runs it as another user, in folders it may or may not write.
//   zorvika_save_probe <target> <byte count> <fill character>
// prints "saved" or "failed <code> <description>", then "content <size> <the distinct bytes>" of the target
// and "entries <count>" of its folder.
#include "system/ErrorReport.h"
#include "system/FileWriters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <set>

int main(int argc, char **argv) {
    if (argc != 4) return 2;
    const QString target = QString::fromLocal8Bit(argv[1]);
    const QByteArray content(QByteArray(argv[2]).toInt(), argv[3][0]);
    try {
        WriteBytesFile(
            target, std::as_bytes(std::span(content.constData(), static_cast<std::size_t>(content.size()))));
        std::puts("saved");
    } catch (const ErrorReport &e) {
        std::printf("failed %d %s\n", e.code(), e.description().toUtf8().constData());
    }
    QFile file(target);
    const QByteArray now = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const std::set<char> distinct(now.begin(), now.end());
    std::printf("content %lld %s\n", static_cast<long long>(now.size()),
                std::string(distinct.begin(), distinct.end()).c_str());
    const QDir folder = QFileInfo(target).dir();
    std::printf(
        "entries %lld\n",
        static_cast<long long>(
            folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size()));
    return 0;
}

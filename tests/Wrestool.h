#pragma once
// What wrestool (icoutils) reports for a file: its listing, one line per language of each resource
// in directory order, and its raw extraction of them all, which it writes one after the other.
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <vector>

inline const QString kWineDir = QStringLiteral("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows");

struct WrestoolListed {
    QString type, name; // wrestool's spelling: 3, 'AVI'
    std::uint16_t language;
    int size;
};

inline std::vector<WrestoolListed> ParseWrestoolList(const QByteArray &listing) {
    static const QRegularExpression line(
        QStringLiteral(R"(^--type=(\S+) --name=(.+?) --language=(\d+) \[.*size=(\d+)\])"));
    std::vector<WrestoolListed> out;
    for (const QString &l : QString::fromUtf8(listing).split(QLatin1Char('\n'))) {
        const auto m = line.match(l);
        if (!m.hasMatch()) continue;
        out.push_back({m.captured(1), m.captured(2), static_cast<std::uint16_t>(m.captured(3).toUInt()),
                       m.captured(4).toInt()});
    }
    return out;
}

inline std::vector<WrestoolListed> WrestoolList(const QString &path) {
    QProcess p;
    p.start(QStringLiteral("wrestool"), {QStringLiteral("-l"), path});
    p.waitForFinished(30000);
    return ParseWrestoolList(p.readAllStandardOutput());
}

// Of a resource's languages as wrestool lists them, the one the program shows: the first of
// neutral, Russian, Russian neutral, the user's and the system's defaults, English US and English
// neutral that the resource has, else the first listed.
inline int ShownLanguage(const std::vector<int> &languages) {
    for (const int preferred : {0x0000, 0x0419, 0x0019, 0x0400, 0x0800, 0x0409, 0x0009})
        if (std::find(languages.begin(), languages.end(), preferred) != languages.end()) return preferred;
    return languages.front();
}

// An identifier as wrestool spells it: digits for an integer, the name in quotes.
inline QString WrestoolSpelling(const QString &idText, bool isInteger) {
    return isInteger ? idText : QLatin1Char('\'') + idText + QLatin1Char('\'');
}

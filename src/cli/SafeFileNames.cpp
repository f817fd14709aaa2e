#include "cli/SafeFileNames.h"

#include "text/TextHelpers.h"

#include <QHash>

namespace {
constexpr qsizetype kPartBytes = 64;

bool Kept(char32_t c) {
    return c == U'-' || c == U'_' || c == U'.' || QChar::isLetterOrNumber(c);
}
} // namespace

QString SafeNamePart(const QString &text) {
    QString part;
    qsizetype bytes = 0;
    const QList<uint> codes = text.toUcs4();
    for (const uint code : codes) {
        const char32_t c = Kept(code) ? code : U'_';
        const QString one = QString::fromUcs4(&c, 1);
        const qsizetype size = one.toUtf8().size();
        if (bytes + size > kPartBytes) break;
        bytes += size;
        part += one;
    }
    if (part.startsWith(QLatin1Char('.')) || part.startsWith(QLatin1Char('-'))) part[0] = QLatin1Char('_');
    return part;
}

QString FileNamePart(const ResourceId &id) {
    if (id.isNumber()) return QString::number(*id.number);
    QString part = SafeNamePart(id.name);
    if (part.isEmpty() || ReadsAsNumber(part)) part.prepend(QStringLiteral("name-"));
    return part;
}

QString SafeFileNames::Unique(const QString &base, const QString &dotExtension) {
    QString name = base + dotExtension;
    for (int n = 2; taken_.contains(qHash(name.toCaseFolded(), 0)); ++n)
        name = base + QLatin1Char('~') + QString::number(n) + dotExtension;
    taken_.insert(qHash(name.toCaseFolded(), 0));
    return name;
}

QString SafeFileNames::Assign(const ResourceEntry &entry, const QString &extension) {
    QString ext;
    for (const QChar c : extension)
        if (c.isLetterOrNumber() && c.unicode() < 0x80) ext += c.toLower();
    if (ext.isEmpty()) ext = QStringLiteral("bin");
    return Unique(FileNamePart(entry.type) + QLatin1Char('_') + FileNamePart(entry.name), QLatin1Char('.') + ext);
}

QString SafeFileNames::AssignFolder(const QString &fileName) {
    const QString part = SafeNamePart(fileName);
    return Unique(part.isEmpty() ? QStringLiteral("_") : part, QString());
}

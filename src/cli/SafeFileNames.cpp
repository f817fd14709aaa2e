#include "cli/SafeFileNames.h"

#include "text/TextHelpers.h"

namespace {
constexpr qsizetype kPartBytes = 64;

bool Kept(char32_t c) {
    return c == U'-' || c == U'_' || c == U'.' || QChar::isLetterOrNumber(c);
}
} // namespace

QString FileNamePart(const ResourceId &id) {
    if (id.isNumber()) return QString::number(*id.number);
    QString part;
    qsizetype bytes = 0;
    const QList<uint> codes = id.name.toUcs4();
    for (const uint code : codes) {
        const char32_t c = Kept(code) ? code : U'_';
        const QString one = QString::fromUcs4(&c, 1);
        const qsizetype size = one.toUtf8().size();
        if (bytes + size > kPartBytes) break;
        bytes += size;
        part += one;
    }
    if (part.startsWith(QLatin1Char('.')) || part.startsWith(QLatin1Char('-'))) part[0] = QLatin1Char('_');
    if (part.isEmpty() || ReadsAsNumber(part)) part.prepend(QStringLiteral("name-"));
    return part;
}

QString SafeFileNames::Assign(const ResourceEntry &entry, const QString &extension) {
    QString ext;
    for (const QChar c : extension)
        if (c.isLetterOrNumber() && c.unicode() < 0x80) ext += c.toLower();
    if (ext.isEmpty()) ext = QStringLiteral("bin");
    const QString base = FileNamePart(entry.type) + QLatin1Char('_') + FileNamePart(entry.name);
    QString name = base + QLatin1Char('.') + ext;
    for (int n = 2; taken_.contains(name.toCaseFolded()); ++n)
        name = base + QLatin1Char('~') + QString::number(n) + QLatin1Char('.') + ext;
    taken_.insert(name.toCaseFolded());
    return name;
}

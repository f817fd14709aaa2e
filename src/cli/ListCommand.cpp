// list: one line per resource in tree order, or one JSON document.
#include "cli/CliSupport.h"
#include "cli/ResourceSelector.h"
#include "pe/ResourceLanguage.h"
#include "resources/ResTypeDescription.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
struct Listed {
    ResourceEntry entry;
    std::vector<std::uint16_t> languages;
    std::optional<std::uint16_t> language; // the one the program shows
    std::uint32_t size = 0;                // of that language
};

QString TypeText(const ResourceId &type) {
    return type.isNumber() ? ResTypeDescription(*type.number) : type.name;
}

QJsonValue IdNumber(const ResourceId &id) {
    return id.isNumber() ? QJsonValue(*id.number) : QJsonValue(QJsonValue::Null);
}
QJsonValue IdName(const ResourceId &id) {
    return id.isNumber() ? QJsonValue(QJsonValue::Null) : QJsonValue(id.name);
}

QByteArray Json(const QString &file, const std::vector<Listed> &listed) {
    QJsonArray resources;
    for (const Listed &l : listed) {
        QJsonArray languages;
        for (const std::uint16_t language : l.languages)
            languages.append(language);
        resources.append(QJsonObject{
            {QStringLiteral("type"), TypeArgument(l.entry.type)},
            {QStringLiteral("typeId"), IdNumber(l.entry.type)},
            {QStringLiteral("typeName"), IdName(l.entry.type)},
            {QStringLiteral("typeText"), TypeText(l.entry.type)},
            {QStringLiteral("name"), NameArgument(l.entry.name)},
            {QStringLiteral("nameId"), IdNumber(l.entry.name)},
            {QStringLiteral("nameName"), IdName(l.entry.name)},
            {QStringLiteral("language"), l.language ? QJsonValue(*l.language) : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("languages"), languages},
            {QStringLiteral("size"), static_cast<qint64>(l.size)},
        });
    }
    const QJsonObject document{{QStringLiteral("file"), file}, {QStringLiteral("resources"), resources}};
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

QByteArray Lines(const std::vector<Listed> &listed) {
    QString text;
    const QChar tab = QLatin1Char('\t');
    for (const Listed &l : listed) {
        text += TypeArgument(l.entry.type) + tab + VisibleText(TypeText(l.entry.type)) + tab +
                NameArgument(l.entry.name) + tab +
                (l.language ? QString::number(*l.language) : QStringLiteral("-")) + tab +
                QString::number(l.size) + QLatin1Char('\n');
    }
    return text.toUtf8();
}
} // namespace

int ListCommand(const CliRequest &request, const CliStreams &streams) {
    const auto module = OpenModule(request.file, streams);
    if (!module) return CliStatus::Failed;
    // Every type and name as the tree lists them, repeated identifiers included.
    std::vector<Listed> listed;
    std::size_t entries = 0;
    for (const ResourceId &type : module->Types()) {
        entries += EntryCost(type);
        for (const ResourceId &name : module->Names(type)) {
            Listed l{{type, name}, module->Languages({type, name}), std::nullopt, 0};
            entries += EntryCost(type) + EntryCost(name) + l.languages.size();
            if (TooManyEntries(entries, streams)) return CliStatus::Failed;
            if (!l.languages.empty()) l.language = l.languages[PreferredLanguageIndex(l.languages)];
            l.size = module->Size(l.entry).value_or(0);
            listed.push_back(std::move(l));
        }
    }
    streams.out(request.json ? Json(request.file, listed) : Lines(listed));
    return CliStatus::Done;
}

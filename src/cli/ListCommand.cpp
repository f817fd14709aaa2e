// list: one line per resource in tree order, or one JSON document.
#include "cli/CliSupport.h"
#include "cli/ResourceSelector.h"
#include "pe/ResourceLanguage.h"
#include "resources/ResTypeDescription.h"

#include <QJsonArray>
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
    return JsonLine({{QStringLiteral("file"), file}, {QStringLiteral("resources"), resources}});
}

// `prefix`: what starts every line (the file's path and a tab, when a run lists several files).
QByteArray Lines(const std::vector<Listed> &listed, const QString &prefix) {
    QString text;
    const QChar tab = QLatin1Char('\t');
    for (const Listed &l : listed) {
        text += prefix + TypeArgument(l.entry.type) + tab + VisibleText(TypeText(l.entry.type)) + tab +
                NameArgument(l.entry.name) + tab +
                (l.language ? QString::number(*l.language) : QStringLiteral("-")) + tab +
                QString::number(l.size) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

void ListFile(const FileRun &run, const CliFile &file, FileReport &report) {
    const auto module = OpenModule(run, file, report);
    if (!module) return;
    // Every type and name as the tree lists them, repeated identifiers included.
    std::vector<Listed> listed;
    std::size_t entries = 0;
    for (const ResourceId &type : module->Types()) {
        entries += EntryCost(type);
        for (const ResourceId &name : module->Names(type)) {
            Listed l{{type, name}, module->Languages({type, name}), std::nullopt, 0};
            entries += EntryCost(type) + EntryCost(name) + l.languages.size();
            if (TooManyEntries(entries, run, file, report)) return;
            if (!l.languages.empty()) l.language = l.languages[PreferredLanguageIndex(l.languages)];
            l.size = module->Size(l.entry).value_or(0);
            listed.push_back(std::move(l));
        }
    }
    const bool many = run.request.ManyFiles();
    report.out = run.request.json ? Json(file.path, listed)
                                  : Lines(listed, many ? VisibleText(file.path) + QLatin1Char('\t') : QString());
}
} // namespace

int ListCommand(const CliRequest &request, const CliStreams &streams) {
    return RunFiles(request, streams, ListFile);
}

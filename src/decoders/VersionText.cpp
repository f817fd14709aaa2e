#include "decoders/VersionText.h"

#include "decoders/HexDump.h"
#include "formats/VersionInfo.h"
#include "system/ErrorReport.h"

#include <algorithm>
#include <array>

namespace {
constexpr std::uint16_t kVersionType = 16;

struct KeyLabel {
    const char *key;
    const char *label; // UTF-8
};
constexpr KeyLabel kKeys[] = {
    {"OriginalFilename", "Исходное имя файла"},
    {"InternalName", "Внутреннее имя"},
    {"FileVersion", "Версия файла"},
    {"ProductVersion", "Версия продукта"},
    {"FileDescription", "Описание"},
    {"LegalCopyright", "Авторские права"},
    {"ProductName", "Название продукта"},
    {"CompanyName", "Производитель"},
};

QString Hex2(std::byte b) {
    return PadLeft(QString::number(std::to_integer<unsigned>(b), 16).toUpper(), 2);
}
} // namespace

QString VersionTextFromData(std::span<const std::byte> data) {
    // The first translation: a language word and a code-page word. Without a table it stays zero.
    std::array<std::byte, 4> translation{};
    if (const auto table = VerQueryValueBytes(data, QStringLiteral("\\VarFileInfo\\Translation")))
        std::copy_n(table->begin(), std::min<std::size_t>(table->size(), translation.size()),
                    translation.begin());
    // Language then code page, each as four hex digits: 0419 04E3 for Russian in Windows-1251.
    const QString languageCodePage =
        Hex2(translation[1]) + Hex2(translation[0]) + Hex2(translation[3]) + Hex2(translation[2]);

    QString lines;
    for (const KeyLabel &k : kKeys) {
        const QString path = QStringLiteral("\\StringFileInfo\\") + languageCodePage + QLatin1Char('\\') +
                             QLatin1String(k.key);
        const QString value = VerQueryValueAnsi(data, path).value_or(QString());
        if (!value.isEmpty())
            lines += QString::fromUtf8(k.label) + QStringLiteral(": ") + value + QStringLiteral("\r\n");
    }
    return QStringLiteral("Информация о версии:\r\n\r\n") + lines;
}

QString VersionText(const ModuleCatalogue &module) {
    // The version data of the file, not the clicked resource's bytes: the version resource 1, else
    // the first one listed.
    const ResourceId type = ResourceId::fromNumber(kVersionType);
    auto data = module.Bytes({type, ResourceId::fromNumber(1)});
    if (!data && !module.Names(type).empty()) data = module.Bytes({type, module.Names(type).front()});
    // No version data: a size of 0, for which no buffer can be made.
    if (!data || data->empty()) ErrorReport::outOfRange();
    return VersionTextFromData(*data);
}

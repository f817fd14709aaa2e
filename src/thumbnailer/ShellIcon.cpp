#include "thumbnailer/ShellIcon.h"

#include "formats/IconDirectory.h"
#include "formats/IconImageShape.h"
#include "imaging/IconPixels.h"
#include "thumbnailer/FitThumbnail.h"

#include <QFileInfo>
#include <algorithm>

namespace {
constexpr std::uint16_t kIconType = 3;
constexpr std::uint16_t kIconGroupType = 14;

[[noreturn]] void Refuse(const QString &reason) {
    throw ErrorReport(ErrorReport::InvalidPicture, reason);
}

// What `make` gives; a failure inside it raised again with `what` before its own words.
template <typename F> auto Explained(const QString &what, F &&make) -> decltype(make()) {
    try {
        return make();
    } catch (const ErrorReport &failure) {
        throw ErrorReport(failure.code(), what + QStringLiteral(": ") + failure.description());
    }
}

// The resource's bytes in the language the program prefers, refused above `limit` before a byte of
// them is read. `what` and `whatMissing` name it in the nominative and genitive.
ResourceBytes BytesOf(const ModuleCatalogue &module, const ResourceEntry &entry, std::uint32_t limit,
                      const QString &what, const QString &whatMissing) {
    const auto size = module.Size(entry);
    if (!size && module.Languages(entry).empty()) Refuse(QStringLiteral("%1 нет в файле").arg(whatMissing));
    if (!size) Refuse(QStringLiteral("%1 вне файла").arg(what));
    if (*size > limit) Refuse(QStringLiteral("%1 больше %2 байт").arg(what).arg(limit));
    auto bytes = module.Bytes(entry);
    if (!bytes) Refuse(QStringLiteral("%1 не читается").arg(what));
    return std::move(*bytes);
}
} // namespace

Made<Pixels> ShellIconImage(const ModuleCatalogue &module, int size) {
    return MadeBy([&]() -> Pixels {
        const ResourceId groupType = ResourceId::fromNumber(kIconGroupType);
        const std::vector<ResourceId> &groups = module.Names(groupType);
        if (groups.empty()) Refuse(QStringLiteral("в файле нет значков"));
        const ResourceBytes group =
            BytesOf(module, {groupType, groups.front()}, kMaxIconGroupBytes, QStringLiteral("группа значков"),
                    QStringLiteral("группы значков"));
        const IconDirectory directory = Explained(QStringLiteral("группа значков не читается"),
                                                  [&] { return ReadGroupDirectory(group, false); });
        const auto chosen = ChooseIconEntryFor(directory, size);
        if (!chosen) Refuse(QStringLiteral("группа значков пуста"));
        const auto id = static_cast<std::uint16_t>(directory.entries[*chosen].idOrOffset);
        const ResourceBytes image = BytesOf(
            module, {ResourceId::fromNumber(kIconType), ResourceId::fromNumber(id)}, kMaxIconImageBytes,
            QStringLiteral("значок %1").arg(id), QStringLiteral("значка %1").arg(id));
        const QString unreadable = QStringLiteral("значок %1 не читается").arg(id);
        // Nothing larger than the bounds is ever decoded.
        const IconImageShape stored = Explained(unreadable, [&] { return StoredShape(image); });
        if (std::max(stored.width, stored.height) > static_cast<std::uint32_t>(kMaxIconSide))
            Refuse(QStringLiteral("значок %1 больше %2 точек по стороне").arg(id).arg(kMaxIconSide));
        Pixels decoded = Explained(unreadable, [&] { return DecodeIconResourcePixels(image, false).image; });
        if (decoded.isNull()) Refuse(unreadable);
        return decoded;
    });
}

Made<Pixels> ShellIconThumbnail(const QString &path, int size) {
    const auto module = ModuleCatalogue::Open(path);
    if (!module) {
        const QFileInfo file(path);
        if (!file.exists()) return ErrorReport(ErrorReport::FileNotFound, QStringLiteral("файл не найден"));
        if (!file.isFile())
            return ErrorReport(ErrorReport::FileAccess, QStringLiteral("это не обычный файл"));
        return ErrorReport(ErrorReport::InvalidPicture,
                           QStringLiteral("не исполняемый файл Windows (PE) или не читается"));
    }
    Made<Pixels> icon = ShellIconImage(*module, size);
    if (!icon) return icon;
    return FitThumbnail(icon.value(), size);
}

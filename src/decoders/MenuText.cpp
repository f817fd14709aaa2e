#include "decoders/MenuText.h"

#include "decoders/ResourceAccess.h"

namespace {
// The item query's text buffer holds 255 characters, terminator included.
constexpr int kItemTextBuffer = 255;
} // namespace

void AppendMenuItems(QString &text, const Menu *menu, int depth) {
    if (menu == nullptr) return;
    const QString indentation(depth * 4, QLatin1Char('.'));
    for (const MenuItem &item : menu->items) {
        // Only a plain separator is marked; one that also breaks the bar falls through to the
        // text line, with its empty text.
        if (item.type == kMenuTypeSeparator) {
            text += indentation + QStringLiteral("[Разделитель]\r\n");
        } else {
            text += indentation + MenuItemTextAnsi(item, kItemTextBuffer) + QStringLiteral(" (cmdID = ") +
                    QString::number(static_cast<std::int32_t>(item.id)) + QStringLiteral(")\r\n");
        }
        // The template reader bounds the nesting, so this recursion is bounded too.
        if (item.subMenu) AppendMenuItems(text, &*item.subMenu, depth + 1);
    }
}

QString MenuTextFromTemplate(std::span<const std::byte> bytes) {
    QString text;
    const std::optional<Menu> menu = LoadMenuFromTemplate(bytes);
    AppendMenuItems(text, menu ? &*menu : nullptr, 0);
    return text;
}

QString MenuText(const ModuleCatalogue &module, const ResourceEntry &entry) {
    // A menu that is missing or has no bytes cannot be built either: the empty text.
    const auto bytes = module.Bytes(entry);
    return MenuTextFromTemplate(bytes ? *bytes : ResourceBytes());
}

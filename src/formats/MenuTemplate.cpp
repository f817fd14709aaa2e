#include "formats/MenuTemplate.h"

#include "pe/ByteReader.h"
#include "system/AnsiCodePage.h"
#include "system/ErrorReport.h"

namespace {
// Bits of a standard template's option word.
constexpr std::uint16_t kPopup = 0x0010;
constexpr std::uint16_t kEnd = 0x0080; // last item of its level; shares its value with the hilite state
// Extended templates: bResInfo bits.
constexpr std::uint16_t kExPopup = 0x0001;
constexpr std::uint16_t kExEnd = 0x0080;
// What the item query reports as type and as state; everything else in the template is dropped.
constexpr std::uint32_t kTypeMask =
    0x6B64; // bitmap, bar break, break, owner-draw, radio, separator, right order/justify
constexpr std::uint32_t kStateMask = 0x108B; // grayed/disabled, checked, hilite, default

void EnterLevel(int depth) {
    if (depth > kMaxMenuDepth) ErrorReport::outOfRange();
}

// A text item whose text is empty is made a separator when the menu is built; popups keep theirs.
void FinishItem(MenuItem &item) {
    if (!item.subMenu && item.hasText() && item.text.isEmpty()) item.type |= kMenuTypeSeparator;
}

void ReadStandardLevel(ByteReader &reader, Menu &menu, int depth) {
    EnterLevel(depth);
    for (;;) {
        const std::uint16_t option = reader.u16();
        MenuItem item;
        // A popup item has no identifier in the template: only its option word and its text.
        if ((option & kPopup) == 0) item.id = reader.u16();
        item.text = reader.utf16z();
        item.type = option & kTypeMask;
        item.state = option & kStateMask & ~std::uint32_t{kEnd};
        if (option & kPopup) {
            item.subMenu.emplace();
            ReadStandardLevel(reader, *item.subMenu, depth + 1);
        }
        FinishItem(item);
        menu.items.push_back(std::move(item));
        if (option & kEnd) return;
    }
}

void ReadExtendedLevel(ByteReader &reader, Menu &menu, int depth) {
    EnterLevel(depth);
    for (;;) {
        // Every item starts on a DWORD boundary of the resource (resources are DWORD-aligned).
        reader.align(4);
        MenuItem item;
        item.type = reader.u32() & kTypeMask;
        item.state = reader.u32() & kStateMask;
        item.id = reader.u32();
        const std::uint16_t resInfo = reader.u16();
        item.text = reader.utf16z();
        if (resInfo & kExPopup) {
            reader.align(4);
            item.helpId = reader.u32();
            item.subMenu.emplace();
            ReadExtendedLevel(reader, *item.subMenu, depth + 1);
        }
        FinishItem(item);
        menu.items.push_back(std::move(item));
        if (resInfo & kExEnd) return;
    }
}
} // namespace

std::optional<Menu> LoadMenuFromTemplate(std::span<const std::byte> bytes) {
    try {
        ByteReader reader(bytes);
        const std::uint16_t version = reader.u16();
        // The header's second word counts the bytes between the header and the first item (the
        // extended header's help identifier lies there).
        const std::uint16_t offset = reader.u16();
        if (version > 1) return std::nullopt;
        reader.skip(offset);
        Menu menu;
        // A template that ends with its header is an empty menu.
        if (reader.atEnd()) return menu;
        if (version == 0)
            ReadStandardLevel(reader, menu, 0);
        else
            ReadExtendedLevel(reader, menu, 0);
        return menu;
    } catch (const ErrorReport &) {
        return std::nullopt;
    }
}

QString MenuItemTextAnsi(const MenuItem &item, int bufferLength) {
    if (!item.hasText() || bufferLength <= 0) return QString();
    // One byte per character in Windows-1251, so the buffer's limit is a character count.
    return AnsiToUnicode(UnicodeToAnsi(item.text.left(bufferLength - 1)));
}

#pragma once
// Our stand-in for building a menu from a menu template and querying its items: the template
// (standard, version 0, or extended, version 1) becomes a plain tree of items carrying the fields
// the item query reports.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Item type bits as the item query reports them (MFT_*).
inline constexpr std::uint32_t kMenuTypeBitmap = 0x0004;
inline constexpr std::uint32_t kMenuTypeOwnerDraw = 0x0100;
inline constexpr std::uint32_t kMenuTypeSeparator = 0x0800;
// Nesting deeper than this makes the template unusable, like any other malformed template.
inline constexpr int kMaxMenuDepth = 64;

struct MenuItem;

struct Menu {
    std::vector<MenuItem> items;
};

struct MenuItem {
    std::uint32_t type = 0;   // MFT_* bits
    std::uint32_t state = 0;  // MFS_* bits
    std::uint32_t id = 0;     // 0 for a popup of a standard template, which has no identifier
    std::uint32_t helpId = 0; // popups of extended templates only
    QString text;             // as the template holds it (UTF-16)
    std::optional<Menu> subMenu;

    // Owner-drawn, bitmap and separator items carry no text for the item query.
    bool hasText() const { return (type & (kMenuTypeBitmap | kMenuTypeOwnerDraw | kMenuTypeSeparator)) == 0; }
};

// The menu built from a template, or empty when the template is malformed (cut short, an unknown
// version, nested deeper than kMaxMenuDepth), as building a menu from it fails.
std::optional<Menu> LoadMenuFromTemplate(std::span<const std::byte> bytes);

// The item's text as the ANSI item query fills a buffer of `bufferLength` characters: converted to
// Windows-1251 (characters it lacks become "?"), at most bufferLength - 1 characters (the rest of
// the buffer holds the terminator), and nothing for items without text.
QString MenuItemTextAnsi(const MenuItem &item, int bufferLength);

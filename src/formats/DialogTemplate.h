#pragma once
// Our stand-in for the platform's reading of a dialog template (the standard DLGTEMPLATE and the
// extended DLGTEMPLATEEX): the bytes of a dialog resource become a plain value that a separate
// step turns into windows.
#include "pe/ResourceId.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// A field that a template stores as nothing, as a 16-bit ordinal or as a string.
struct NameOrOrdinal {
    enum class Kind { None, Ordinal, String };
    Kind kind = Kind::None;
    std::uint16_t ordinal = 0; // Kind::Ordinal
    QString text;              // Kind::String

    bool isNone() const { return kind == Kind::None; }
    bool isOrdinal() const { return kind == Kind::Ordinal; }
    bool isString() const { return kind == Kind::String; }
    // The resource this field names: the ordinal's integer identifier, or the string read as the
    // platform's lookups read a name ("#101" is the integer 101); an empty name for no field.
    ResourceId resourceId() const;
    bool operator==(const NameOrOrdinal &) const = default;
};

struct DialogFont {
    std::uint16_t pointSize = 0;
    std::uint16_t weight = 0; // extended templates only; 0 means "normal"
    bool italic = false;      // extended templates only
    std::uint8_t charset = 1; // extended templates only; 1 is the default character set
    QString face;
};

struct DialogItem {
    std::uint32_t helpId = 0; // extended templates only
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0; // dialog units
    std::uint32_t id = 0;                      // 16 bits in standard templates
    NameOrOrdinal windowClass;
    NameOrOrdinal title;
    std::uint16_t creationDataSize = 0; // the bytes skipped after the title
};

struct DialogTemplate {
    bool extended = false;
    std::uint32_t helpId = 0; // extended templates only
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0; // dialog units
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    NameOrOrdinal title;
    std::optional<DialogFont> font; // present when the style has DS_SETFONT (or DS_SHELLFONT)
    std::vector<DialogItem> items;
    std::size_t end = 0; // the offset just after the last item read
};

// The ordinals by which templates name the six predefined control classes.
inline constexpr std::uint16_t kButtonClass = 0x0080;
inline constexpr std::uint16_t kEditClass = 0x0081;
inline constexpr std::uint16_t kStaticClass = 0x0082;
inline constexpr std::uint16_t kListBoxClass = 0x0083;
inline constexpr std::uint16_t kScrollBarClass = 0x0084;
inline constexpr std::uint16_t kComboBoxClass = 0x0085;

// Reads a whole template. A template cut short, a count larger than the data or a string without
// its terminating NUL raises the failure of code 9; nothing is read outside the bytes.
DialogTemplate ReadDialogTemplate(std::span<const std::byte> bytes);

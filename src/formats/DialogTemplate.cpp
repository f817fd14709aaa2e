#include "formats/DialogTemplate.h"

#include "formats/WindowStyles.h"
#include "pe/ByteReader.h"

#include <algorithm>

namespace {
// Signature of an extended template: version 1 in the first word, 0xFFFF in the second.
constexpr std::uint16_t kExtendedVersion = 1;
constexpr std::uint16_t kExtendedSignature = 0xFFFF;

// The common layout of menu, class and title fields: the word 0x0000 for nothing, 0xFFFF followed
// by a 16-bit ordinal, or a NUL-terminated UTF-16 string.
NameOrOrdinal ReadNameOrOrdinal(ByteReader &in) {
    NameOrOrdinal field;
    const std::uint16_t first = in.u16At(in.pos());
    if (first == 0x0000) {
        in.skip(2);
    } else if (first == 0xFFFF) {
        in.skip(2);
        field.kind = NameOrOrdinal::Kind::Ordinal;
        field.ordinal = in.u16();
    } else {
        field.kind = NameOrOrdinal::Kind::String;
        field.text = in.utf16z();
    }
    return field;
}

DialogItem ReadItem(ByteReader &in, bool extended) {
    // Every item starts on a DWORD boundary of the template.
    in.align(4);
    DialogItem item;
    if (extended) {
        item.helpId = in.u32();
        item.exStyle = in.u32();
        item.style = in.u32();
    } else {
        item.style = in.u32();
        item.exStyle = in.u32();
    }
    item.x = in.i16();
    item.y = in.i16();
    item.cx = in.i16();
    item.cy = in.i16();
    item.id = extended ? in.u32() : in.u16();
    item.windowClass = ReadNameOrOrdinal(in);
    item.title = ReadNameOrOrdinal(in);
    // The creation data: a byte count, then that many bytes that only the control itself reads.
    item.creationDataSize = in.u16();
    in.skip(item.creationDataSize);
    return item;
}
} // namespace

ResourceId NameOrOrdinal::resourceId() const {
    switch (kind) {
    case Kind::Ordinal:
        return ResourceId::fromNumber(ordinal);
    case Kind::String:
        return ResourceId::fromString(text);
    case Kind::None:
        break;
    }
    return ResourceId::fromName(QString());
}

DialogTemplate ReadDialogTemplate(std::span<const std::byte> bytes) {
    ByteReader in(bytes);
    DialogTemplate dialog;
    dialog.extended = in.u16At(0) == kExtendedVersion && in.u16At(2) == kExtendedSignature;
    std::uint16_t count = 0;
    if (dialog.extended) {
        in.skip(4);
        dialog.helpId = in.u32();
        dialog.exStyle = in.u32();
        dialog.style = in.u32();
    } else {
        dialog.style = in.u32();
        dialog.exStyle = in.u32();
    }
    count = in.u16();
    dialog.x = in.i16();
    dialog.y = in.i16();
    dialog.cx = in.i16();
    dialog.cy = in.i16();
    dialog.menu = ReadNameOrOrdinal(in);
    dialog.windowClass = ReadNameOrOrdinal(in);
    dialog.title = ReadNameOrOrdinal(in);

    // DS_SHELLFONT includes DS_SETFONT, so one bit decides whether the font block is there.
    if ((dialog.style & Win::DS_SETFONT) != 0) {
        DialogFont font;
        font.pointSize = in.u16();
        if (dialog.extended) {
            font.weight = in.u16();
            font.italic = in.u8() != 0;
            font.charset = in.u8();
        }
        font.face = in.utf16z();
        dialog.font = font;
    }

    // The count is a 16-bit field and every item takes at least 24 bytes, so a count larger than
    // the data ends in the reader's failure long before memory matters.
    dialog.items.reserve(std::min<std::size_t>(count, in.remaining() / 24 + 1));
    for (std::uint16_t i = 0; i < count; ++i)
        dialog.items.push_back(ReadItem(in, dialog.extended));
    dialog.end = in.pos();
    return dialog;
}

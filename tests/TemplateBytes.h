#pragma once
// Little-endian bytes of hand-made dialog templates, written field by field.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class TemplateBytes {
public:
    TemplateBytes &u8(unsigned v) {
        data_.push_back(static_cast<std::byte>(v & 0xFF));
        return *this;
    }
    TemplateBytes &u16(unsigned v) { return u8(v).u8(v >> 8); }
    TemplateBytes &u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    TemplateBytes &str(const QString &s) {
        for (QChar c : s)
            u16(c.unicode());
        return u16(0);
    }
    TemplateBytes &ordinal(unsigned v) { return u16(0xFFFF).u16(v); }
    TemplateBytes &align4() {
        while (data_.size() % 4 != 0)
            u8(0);
        return *this;
    }
    // A standard template header: style, no extended style, the count, position and size in
    // dialog units, no menu and no class, the title and, with DS_SETFONT, an 8-point font.
    TemplateBytes &header(std::uint32_t style, unsigned count, int cx, int cy, const QString &title) {
        u32(style)
            .u32(0)
            .u16(count)
            .u16(0)
            .u16(0)
            .u16(static_cast<unsigned>(cx))
            .u16(static_cast<unsigned>(cy));
        u16(0).u16(0).str(title);
        if ((style & 0x40) != 0) u16(8).str(QStringLiteral("MS Shell Dlg"));
        return *this;
    }
    // A standard item of a class given by name, with a text title and no creation data.
    TemplateBytes &item(std::uint32_t style, int x, int y, int cx, int cy, unsigned id, const QString &cls,
                        const QString &title) {
        align4();
        u32(style).u32(0).u16(static_cast<unsigned>(x)).u16(static_cast<unsigned>(y));
        u16(static_cast<unsigned>(cx)).u16(static_cast<unsigned>(cy)).u16(id);
        return str(cls).str(title).u16(0);
    }
    std::size_t size() const { return data_.size(); }
    std::span<const std::byte> span() const { return data_; }

private:
    std::vector<std::byte> data_;
};

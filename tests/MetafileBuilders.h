#pragma once
// Small writers of WMF and EMF bytes for the playback tests: records as the formats lay them out,
// and a rendering of the result on white.
#include "imaging/metafile/MetafilePicture.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <initializer_list>

inline void Append16(QByteArray &b, std::uint32_t v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>((v >> 8) & 0xFF));
}
inline void Append32(QByteArray &b, std::uint32_t v) {
    Append16(b, v & 0xFFFF);
    Append16(b, v >> 16);
}

// A WMF: optional placeable header with box and units per inch, METAHEADER, records, end record.
class WmfBuilder {
public:
    WmfBuilder(int left, int top, int right, int bottom, int unitsPerInch) : placeable_(true) {
        Append32(head_, 0x9AC6CDD7);
        Append16(head_, 0);
        for (int v : {left, top, right, bottom})
            Append16(head_, static_cast<std::uint32_t>(v));
        Append16(head_, static_cast<std::uint32_t>(unitsPerInch));
        Append32(head_, 0);
        Append16(head_, 0); // checksum, not checked
    }
    WmfBuilder() = default;

    // Parameters as 16-bit words, in the order the record stores them.
    WmfBuilder &Rec(std::uint16_t function, std::initializer_list<int> words) {
        Append32(records_, static_cast<std::uint32_t>(3 + words.size()));
        Append16(records_, function);
        for (int w : words)
            Append16(records_, static_cast<std::uint32_t>(w));
        return *this;
    }
    WmfBuilder &Raw(std::uint16_t function, const QByteArray &params) {
        Append32(records_, static_cast<std::uint32_t>(3 + params.size() / 2));
        Append16(records_, function);
        records_ += params;
        return *this;
    }
    WmfBuilder &RawBytes(const QByteArray &bytes) {
        records_ += bytes;
        return *this;
    }
    QByteArray Bytes(bool withEnd = true, int objects = 16) const {
        QByteArray out = head_;
        Append16(out, 1);
        Append16(out, 9);
        Append16(out, 0x0300);
        Append32(out, 0);
        Append16(out, static_cast<std::uint32_t>(objects));
        Append32(out, 0);
        Append16(out, 0);
        out += records_;
        if (withEnd) Append32(out, 3), Append16(out, 0);
        return out;
    }

    // Brushes and pens in a colour (COLORREF words: low, high).
    WmfBuilder &SolidBrush(QRgb c) { return Rec(0x02FC, {0, Low(c), High(c), 0}); }
    WmfBuilder &NullPen() { return Rec(0x02FA, {5, 0, 0, 0, 0}); }
    WmfBuilder &Pen(QRgb c, int width) { return Rec(0x02FA, {0, width, 0, Low(c), High(c)}); }
    WmfBuilder &Select(int index) { return Rec(0x012D, {index}); }
    WmfBuilder &Rectangle(int l, int t, int r, int b) { return Rec(0x041B, {b, r, t, l}); }

    static int Low(QRgb c) { return qRed(c) | (qGreen(c) << 8); }
    static int High(QRgb c) { return qBlue(c); }

private:
    bool placeable_ = false;
    QByteArray head_;
    QByteArray records_;
};

// An EMF: header with bounds and frame, a 96-dpi reference device of 1000 x 1000 pixels, records.
class EmfBuilder {
public:
    // The frame in 0.01 mm.
    EmfBuilder(int frameRight, int frameBottom) : frameRight_(frameRight), frameBottom_(frameBottom) {}

    EmfBuilder &Rec(std::uint32_t type, std::initializer_list<std::int64_t> fields) {
        Append32(records_, type);
        Append32(records_, static_cast<std::uint32_t>(8 + 4 * fields.size()));
        for (std::int64_t f : fields)
            Append32(records_, static_cast<std::uint32_t>(f));
        return *this;
    }
    EmfBuilder &Raw(std::uint32_t type, const QByteArray &fields) {
        Append32(records_, type);
        Append32(records_, static_cast<std::uint32_t>(8 + fields.size()));
        records_ += fields;
        return *this;
    }
    QByteArray Bytes() const {
        QByteArray out;
        Append32(out, 1);
        Append32(out, 108);
        for (int v : {0, 0, 100, 100})
            Append32(out, static_cast<std::uint32_t>(v)); // bounds
        for (int v : {0, 0, frameRight_, frameBottom_})
            Append32(out, static_cast<std::uint32_t>(v));
        Append32(out, 0x464D4520);
        Append32(out, 0x10000);
        Append32(out, 0); // size, filled below
        Append32(out, 0);
        Append16(out, 16);
        Append16(out, 0);
        Append32(out, 0);
        Append32(out, 0);
        Append32(out, 0);
        // Reference device: 1000 pixels over 264.583 mm is 96 dpi.
        Append32(out, 1000);
        Append32(out, 1000);
        Append32(out, 265);
        Append32(out, 265);
        Append32(out, 0);
        Append32(out, 0);
        Append32(out, 0);
        Append32(out, 264583);
        Append32(out, 264583);
        out += records_;
        Append32(out, 14);
        Append32(out, 20);
        Append32(out, 0);
        Append32(out, 0);
        Append32(out, 20);
        return out;
    }

    EmfBuilder &SolidBrush(std::uint32_t index, QRgb c) { return Rec(39, {index, 0, ColorRef(c), 0}); }
    EmfBuilder &NullPen() { return Rec(37, {0x80000008}); }
    EmfBuilder &Select(std::uint32_t index) { return Rec(37, {index}); }
    EmfBuilder &Rectangle(int l, int t, int r, int b) { return Rec(43, {l, t, r, b}); }

    static std::int64_t ColorRef(QRgb c) { return qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16); }

private:
    int frameRight_, frameBottom_;
    QByteArray records_;
};

// The picture drawn at its own size on white, as the pane draws it.
inline QImage RenderMetafile(const QByteArray &bytes) {
    const MetafilePicture picture(bytes);
    QImage image(HimetricToPixels(picture.Width(), true), HimetricToPixels(picture.Height(), false),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.Render(painter, QPoint(0, 0));
    painter.end();
    return image;
}

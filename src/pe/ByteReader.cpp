#include "pe/ByteReader.h"

#include "system/AnsiCodePage.h"
#include "system/ErrorReport.h"

void ByteReader::Outside() { ErrorReport::outOfRange(); }

void ByteReader::seek(std::size_t offset) {
    need(offset, 0);
    pos_ = offset;
}

void ByteReader::skip(std::size_t count) {
    need(pos_, count);
    pos_ += count;
}

void ByteReader::align(std::size_t alignment) {
    const std::size_t rest = pos_ % alignment;
    if (rest != 0) skip(alignment - rest);
}

std::span<const std::byte> ByteReader::take(std::size_t count) {
    auto s = spanAt(pos_, count);
    pos_ += count;
    return s;
}

std::span<const std::byte> ByteReader::spanAt(std::size_t offset, std::size_t count) const {
    need(offset, count);
    return data_.subspan(offset, count);
}

ByteReader ByteReader::sub(std::size_t offset, std::size_t count) const {
    return ByteReader(spanAt(offset, count));
}

QString ByteReader::utf16z() {
    QString text;
    for (;;) {
        const char16_t c = u16();
        if (c == 0) return text;
        text.append(QChar(c));
    }
}

QString ByteReader::utf16(std::size_t count) {
    need(pos_, count > SIZE_MAX / 2 ? SIZE_MAX : count * 2);
    QString text(static_cast<qsizetype>(count), Qt::Uninitialized);
    for (std::size_t i = 0; i < count; ++i)
        text[static_cast<qsizetype>(i)] = QChar(u16());
    return text;
}

QString ByteReader::ansiz() {
    const std::size_t start = pos_;
    while (u8() != 0) {
    }
    return AnsiToUnicode(data_.subspan(start, pos_ - start - 1));
}

#pragma once
// Every read of resource or file bytes goes through this reader: offsets are checked against the
// data in 64-bit arithmetic and a read outside it raises the failure of code 9. Values are
// little-endian, as everything in a Windows binary is.
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const std::byte> data) : data_(data) {}

    std::span<const std::byte> data() const { return data_; }
    std::size_t size() const { return data_.size(); }
    std::size_t pos() const { return pos_; }
    std::size_t remaining() const { return data_.size() - pos_; }
    bool atEnd() const { return pos_ == data_.size(); }

    void seek(std::size_t offset);
    void skip(std::size_t count);
    // Moves forward to the next multiple of `alignment`, counted from the start of this reader.
    void align(std::size_t alignment);

    // The reads are inline: the resource directory and every decoder make millions of them.
    std::uint8_t u8() { return next<std::uint8_t>(); }
    std::uint16_t u16() { return next<std::uint16_t>(); }
    std::uint32_t u32() { return next<std::uint32_t>(); }
    std::uint64_t u64() { return next<std::uint64_t>(); }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }

    std::uint8_t u8At(std::size_t offset) const { return valueAt<std::uint8_t>(offset); }
    std::uint16_t u16At(std::size_t offset) const { return valueAt<std::uint16_t>(offset); }
    std::uint32_t u32At(std::size_t offset) const { return valueAt<std::uint32_t>(offset); }

    std::span<const std::byte> take(std::size_t count);
    std::span<const std::byte> spanAt(std::size_t offset, std::size_t count) const;
    // A reader over part of this one; its offsets start at 0.
    ByteReader sub(std::size_t offset, std::size_t count) const;

    // A NUL-terminated UTF-16 string; the terminator is consumed and not returned.
    QString utf16z();
    QString utf16(std::size_t count);
    // A NUL-terminated string in the program's ANSI code page.
    QString ansiz();

    // True when [offset, offset + count) lies inside the data.
    bool contains(std::size_t offset, std::size_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }

private:
    // Raises the failure of code 9; kept out of line, off the path of every read that succeeds.
    [[noreturn]] static void Outside();
    void need(std::size_t offset, std::size_t count) const {
        if (!contains(offset, count)) Outside();
    }
    template <typename T> T valueAt(std::size_t offset) const {
        need(offset, sizeof(T));
        std::uint8_t raw[sizeof(T)];
        std::memcpy(raw, data_.data() + offset, sizeof(T));
        T value = 0;
        for (std::size_t i = sizeof(T); i-- > 0;)
            value = static_cast<T>((value << 8) | raw[i]);
        return value;
    }
    template <typename T> T next() {
        const T value = valueAt<T>(pos_);
        pos_ += sizeof(T);
        return value;
    }

    std::span<const std::byte> data_;
    std::size_t pos_ = 0;
};

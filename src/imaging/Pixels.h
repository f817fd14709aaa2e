#pragma once
// An image's pixels as the decoders make them, without Qt Gui: 32-bit ARGB values (QRgb), not
// premultiplied, rows from the top. The window turns them into a QImage without a copy
// (ImageOf); the thumbnailer, which links no more than Qt Core, uses them as they are.
#include <QRgb>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

// Leaves the pixels of a new buffer as the allocator gives them: a decoder that writes every pixel
// of a large picture would otherwise pay for clearing it first.
template <typename T>
struct UnclearedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UnclearedAllocator<U>;
    };
    template <typename U>
    void construct(U *p) noexcept {
        ::new (static_cast<void *>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U *p, Args &&...args) {
        ::new (static_cast<void *>(p)) U(std::forward<Args>(args)...);
    }
};

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<QRgb, UnclearedAllocator<QRgb>> argb; // width * height, row by row

    Pixels() = default;
    // All pixels clear (transparent black).
    Pixels(int w, int h) : width(w), height(h), argb(Count(w, h), QRgb{0}) {}
    // Pixels for a decoder that writes every one of them.
    static Pixels Unfilled(int w, int h) {
        Pixels p;
        p.width = w;
        p.height = h;
        p.argb.resize(Count(w, h));
        return p;
    }

    bool isNull() const { return argb.empty(); }
    QRgb *Row(int y) { return argb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width); }
    const QRgb *Row(int y) const {
        return argb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    }

private:
    static std::size_t Count(int w, int h) { return static_cast<std::size_t>(w) * static_cast<std::size_t>(h); }
};

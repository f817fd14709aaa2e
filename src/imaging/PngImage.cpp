#include "imaging/PngImage.h"

#include "imaging/Dib.h"
#include "system/ErrorReport.h"

#include <csetjmp>
#include <cstring>
#include <png.h>

namespace {
struct Input {
    std::span<const std::byte> data;
    std::size_t at = 0;
};

void ReadFromMemory(png_structp png, png_bytep into, png_size_t count) {
    auto *input = static_cast<Input *>(png_get_io_ptr(png));
    if (count > input->data.size() - input->at) png_error(png, "cut short");
    std::memcpy(into, input->data.data() + input->at, count);
    input->at += count;
}

void WriteToMemory(png_structp png, png_bytep bytes, png_size_t count) {
    static_cast<QByteArray *>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char *>(bytes), static_cast<qsizetype>(count));
}

void Flush(png_structp) {}

// libpng reports through its own channel; the failure is raised once it has unwound.
void Quietly(png_structp, png_const_charp) {}
} // namespace

Pixels DecodePng(std::span<const std::byte> data, bool *hasAlpha) {
    if (!IsPng(data)) ErrorReport::invalidPicture();
    // Everything the jump back from an error may meet is made before the jump point.
    Input input{data, 0};
    Pixels pixels;
    std::vector<png_bytep> rows;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Quietly, Quietly);
    if (png == nullptr) ErrorReport::outOfMemory();
    png_infop info = png_create_info_struct(png);
    volatile bool alpha = false;
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
        ErrorReport::invalidPicture();
    }
    png_set_read_fn(png, &input, ReadFromMemory);
    // No image beyond what the DIB decoder makes; libpng refuses larger ones before allocating.
    png_set_user_limits(png, kDibMaxSide, kDibMaxSide);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    if (std::int64_t{width} * height > kDibMaxPixels) png_error(png, "too large");
    const int colourType = png_get_color_type(png, info);
    alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    // Every kind of PNG becomes 8-bit BGRA in memory, which is ARGB32 on this machine's byte order;
    // no gamma is applied, as Qt's reader applies none.
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    if (!alpha) png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != std::size_t{width} * 4) png_error(png, "unexpected layout");
    pixels = Pixels::Unfilled(static_cast<int>(width), static_cast<int>(height)); // libpng writes every row
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = reinterpret_cast<png_bytep>(pixels.Row(static_cast<int>(y)));
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    if (hasAlpha != nullptr) *hasAlpha = alpha;
    return pixels;
}

QByteArray EncodePng(const Pixels &pixels) {
    QByteArray out;
    if (pixels.isNull()) return out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Quietly, Quietly);
    if (png == nullptr) return out;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
        out.clear();
        return out;
    }
    png_set_write_fn(png, &out, WriteToMemory, Flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(pixels.width), static_cast<png_uint_32>(pixels.height),
                 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // One cheap filter and a fast level: a small picture, written often, read once.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    png_set_bgr(png);
    for (int y = 0; y < pixels.height; ++y)
        png_write_row(png, reinterpret_cast<png_const_bytep>(pixels.Row(y)));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

#include "thumbnailer/FitThumbnail.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {
// For each output cell along one axis, the input cells it covers and how much of each.
struct Cover {
    int first = 0;
    std::vector<double> weights;
};
std::vector<Cover> Covers(int in, int out) {
    std::vector<Cover> covers(static_cast<std::size_t>(out));
    const double step = static_cast<double>(in) / out;
    for (int o = 0; o < out; ++o) {
        const double start = o * step, end = (o + 1) * step;
        Cover &c = covers[static_cast<std::size_t>(o)];
        c.first = static_cast<int>(start);
        for (int i = c.first; i < in && i < end; ++i)
            c.weights.push_back(std::min<double>(end, i + 1) - std::max<double>(start, i));
    }
    return covers;
}
} // namespace

Pixels FitThumbnail(const Pixels &icon, int size) {
    if (icon.width <= size && icon.height <= size) return icon;
    // The longer side becomes `size`; the other keeps the proportion, and at least one pixel.
    const double scale = static_cast<double>(size) / std::max(icon.width, icon.height);
    const int width = std::max(1, static_cast<int>(std::lround(icon.width * scale)));
    const int height = std::max(1, static_cast<int>(std::lround(icon.height * scale)));
    const std::vector<Cover> across = Covers(icon.width, width), down = Covers(icon.height, height);
    // Rows first, then columns, in premultiplied colour: alpha, and red, green, blue times alpha.
    std::vector<std::array<double, 4>> rows(static_cast<std::size_t>(width) *
                                            static_cast<std::size_t>(icon.height));
    for (int y = 0; y < icon.height; ++y) {
        const QRgb *in = icon.Row(y);
        for (int x = 0; x < width; ++x) {
            const Cover &c = across[static_cast<std::size_t>(x)];
            std::array<double, 4> sum{};
            for (std::size_t k = 0; k < c.weights.size(); ++k) {
                const QRgb p = in[c.first + static_cast<int>(k)];
                const double a = qAlpha(p) * c.weights[k];
                sum[0] += a;
                sum[1] += qRed(p) * a;
                sum[2] += qGreen(p) * a;
                sum[3] += qBlue(p) * a;
            }
            rows[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                 static_cast<std::size_t>(x)] = sum;
        }
    }
    const double area =
        (static_cast<double>(icon.width) / width) * (static_cast<double>(icon.height) / height);
    Pixels fitted(width, height);
    for (int y = 0; y < height; ++y) {
        const Cover &c = down[static_cast<std::size_t>(y)];
        QRgb *out = fitted.Row(y);
        for (int x = 0; x < width; ++x) {
            std::array<double, 4> sum{};
            for (std::size_t k = 0; k < c.weights.size(); ++k) {
                const auto &r = rows[static_cast<std::size_t>(c.first + static_cast<int>(k)) *
                                         static_cast<std::size_t>(width) +
                                     static_cast<std::size_t>(x)];
                for (int i = 0; i < 4; ++i)
                    sum[static_cast<std::size_t>(i)] += r[static_cast<std::size_t>(i)] * c.weights[k];
            }
            const int alpha = static_cast<int>(std::lround(sum[0] / area));
            if (alpha == 0) continue; // clear, as the output starts
            const auto colour = [&](double v) {
                return std::clamp(static_cast<int>(std::lround(v / sum[0])), 0, 255);
            };
            out[x] = qRgba(colour(sum[1]), colour(sum[2]), colour(sum[3]), std::min(alpha, 255));
        }
    }
    return fitted;
}

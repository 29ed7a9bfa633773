#include "labels/rgba_image.h"

#include <png.h>

#include <algorithm>

#include "base/atomic_file.h"
#include "labels/bitmap_font.h"

namespace murmelix {

RgbaImage::RgbaImage(int width, int height, Rgba fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {}

void RgbaImage::blend(int x, int y, Rgba colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    Rgba& pixel = pixels_[index(x, y)];
    pixel = colour.a == 255 ? colour : Rgba::over(colour, pixel);
}

void RgbaImage::fillRect(int x, int y, int width, int height, Rgba colour) {
    const int left = std::max(x, 0);
    const int right = std::min(x + width, width_);
    const int top = std::max(y, 0);
    const int bottom = std::min(y + height, height_);
    for (int row = top; row < bottom; ++row) {
        for (int column = left; column < right; ++column) {
            blend(column, row, colour);
        }
    }
}

void RgbaImage::verticalLine(int x, int top, int bottom, Rgba colour) {
    fillRect(x, std::min(top, bottom), 1, std::abs(bottom - top) + 1, colour);
}

void RgbaImage::drawText(int x, int y, const std::string& utf8, Rgba colour, int clipRight) {
    const std::u32string shown = BitmapFont::shown(utf8);
    for (size_t i = 0; i < shown.size(); ++i) {
        const int left = x + static_cast<int>(i) * BitmapFont::kGlyphWidth;
        for (int gy = 0; gy < BitmapFont::kGlyphHeight; ++gy) {
            for (int gx = 0; gx < BitmapFont::kGlyphWidth; ++gx) {
                if (left + gx < clipRight && BitmapFont::pixel(shown[i], gx, gy)) {
                    blend(left + gx, y + gy, colour);
                }
            }
        }
    }
}

namespace {

struct PngSink {
    AtomicFile* file;
    bool ok;
};

void writeToSink(png_structp png, png_bytep data, png_size_t length) {
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    sink->ok = sink->ok && sink->file->write(data, length);
}

void flushSink(png_structp) {}

// libpng reports errors by longjmp; this keeps that jump inside one plain C-style function.
bool encode(const RgbaImage& image, PngSink& sink) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &sink, writeToSink, flushSink);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
                 static_cast<png_uint_32>(image.height()), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    static_assert(sizeof(Rgba) == 4);
    const auto* rows = reinterpret_cast<const png_byte*>(image.pixels().data());
    for (int y = 0; y < image.height(); ++y) {
        png_write_row(png, rows + static_cast<size_t>(y) * static_cast<size_t>(image.width()) * 4);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return sink.ok;
}

}  // namespace

Result RgbaImage::writePng(const std::string& path) const {
    if (width_ <= 0 || height_ <= 0) {
        return Result::failure("Can't write an empty picture to '" + path + "'.");
    }
    AtomicFile file(path);
    PngSink sink{&file, true};
    if (!file.open() || !encode(*this, sink) || !file.commit()) {
        return Result::failure("Can't write picture file '" + path + "'.");
    }
    return Result::success();
}

}  // namespace murmelix

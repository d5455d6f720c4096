#include "host/png.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "host/error.h"

namespace host {

void savePng(const platform::Frame& frame, const std::filesystem::path& path) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.string().c_str(), "wb"), &std::fclose);
    if (!file) throw HostError("cannot write " + path.string());
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        throw HostError("cannot start a PNG for " + path.string());
    }
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        throw HostError("cannot write the PNG " + path.string());
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(frame.width), static_cast<png_uint_32>(frame.height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t row = static_cast<std::size_t>(frame.width) * 4;
    for (int y = 0; y < frame.height; ++y)
        png_write_row(png, frame.rgba.data() + static_cast<std::size_t>(y) * row);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
}

}  // namespace host

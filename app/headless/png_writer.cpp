#include "app/headless/png_writer.h"

#include <csetjmp>
#include <png.h>
#include <vector>

namespace veldmark::tool {
namespace {

// libpng's output goes through OutputFile, so that a failed write is seen at once and reported
// with its reason and the file's name. png_error does not return: it jumps back into WriteRows.
void WriteToOutput(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<OutputFile*>(png_get_io_ptr(png));
    if (!out->Write(data, length)) png_error(png, "write failed");
}

void FlushNothing(png_structp) {}   // OutputFile flushes once, at commit

// libpng's own handlers print to standard error; the caller reports the failure in one line.
[[noreturn]] void JumpBack(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// libpng reports errors by longjmp; everything with a destructor lives in the caller, so the
// jump crosses only plain data.
const char* WriteRows(png_structp png, png_infop info, OutputFile& out, const std::uint32_t* pixels,
                      int width, int height, png_bytep row)
{
    if (setjmp(png_jmpbuf(png))) return "libpng could not write the image";
    png_set_write_fn(png, &out, WriteToOutput, FlushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // Level 3 is several times faster than the default on 2.3-megapixel frames and barely larger.
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    const std::size_t stride = static_cast<std::size_t>(width);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* source = pixels + static_cast<std::size_t>(y) * stride;
        for (std::size_t x = 0; x < stride; ++x) {
            row[3 * x] = static_cast<png_byte>(source[x] >> 16);
            row[3 * x + 1] = static_cast<png_byte>(source[x] >> 8);
            row[3 * x + 2] = static_cast<png_byte>(source[x]);
        }
        png_write_row(png, row);
    }
    png_write_end(png, info);
    return nullptr;
}

} // namespace

bool WritePng(OutputFile& out, const std::uint32_t* pixels, int width, int height,
              std::string& error)
{
    if (width <= 0 || height <= 0) {
        error = "cannot write an empty image";
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpBack, IgnoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, nullptr);
        error = "libpng could not start";
        return false;
    }
    std::vector<png_byte> row(3 * static_cast<std::size_t>(width));
    const char* failure = WriteRows(png, info, out, pixels, width, height, row.data());
    png_destroy_write_struct(&png, &info);
    if (failure) {
        error = out.ok() ? failure : out.error();
        return false;
    }
    return true;
}

bool WritePngFile(const std::string& path, const std::uint32_t* pixels, int width, int height,
                  std::string& error)
{
    OutputFile output(path);
    if (!output.open()) {
        error = output.error();
        return false;
    }
    if (!WritePng(output, pixels, width, height, error)) return false;
    if (!output.commit()) {
        error = output.error();
        return false;
    }
    return true;
}

} // namespace veldmark::tool

#pragma once
// Writing pixel buffers as PNG files for the headless tool: frames, display-list renders,
// glyph sheets. Pixels are 0x00RRGGBB words, rows top to bottom, written as 8-bit RGB.
#include <cstdint>
#include <string>

#include "app/headless/output_file.h"

namespace veldmark::tool {

// Writes the image to an open output; false with `error` set when libpng or a write fails (the
// output's own error, naming the file, when it was the write).
bool WritePng(OutputFile& out, const std::uint32_t* pixels, int width, int height,
              std::string& error);

// Writes the image to `path` whole or not at all (through OutputFile; "-" is standard output).
bool WritePngFile(const std::string& path, const std::uint32_t* pixels, int width, int height,
                  std::string& error);

} // namespace veldmark::tool

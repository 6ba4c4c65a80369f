#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// A decoded video frame and its 24-bit BMP file.
namespace orvalis {

// Four bytes a pixel, the fourth unused: B G R x ("bgr0", "bgra") or R G B x ("rgb0", "rgba").
enum class PixelOrder { Bgrx, Rgbx };

std::optional<PixelOrder> pixelOrderFromName(std::string_view name);

// A frame in the video's own size, rows top-down, `stride` bytes apart.
struct RawFrame {
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    PixelOrder order = PixelOrder::Bgrx;
    std::string pixels;

    // Copies an image whose first row starts at firstRow and whose next rows lie stride
    // bytes further each (negative for bottom-up images), as libmpv's raw screenshot gives
    // it. Nothing for an unknown format or a size that makes no sense.
    static std::optional<RawFrame> copyOf(const void* firstRow, int width, int height,
                                          std::ptrdiff_t stride, std::string_view format);

    // Width and height positive and within limits, rows wide enough, pixels all there.
    bool valid() const;
};

inline constexpr std::size_t kBmpHeaderSize = 54;

// Bytes of one BMP row: three a pixel, padded to a multiple of four.
std::size_t bmpRowBytes(int width);

// The whole file: the 14-byte file header, the 40-byte info header (24 bits a pixel, no
// compression, image size, resolutions and colour counts 0), then the rows bottom-up.
// Nothing for an invalid frame.
std::optional<std::string> encodeBmp(const RawFrame& frame);

}  // namespace orvalis

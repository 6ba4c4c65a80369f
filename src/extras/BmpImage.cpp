#include "extras/BmpImage.h"

#include <cstdint>
#include <cstring>

namespace orvalis {

namespace {

constexpr int kMaxSide = 32768;
constexpr std::size_t kPixelBytes = 4;

void put16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void put32(std::string& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((v >> shift) & 0xFF);
}

bool sideOk(int side) {
    return side > 0 && side <= kMaxSide;
}

}  // namespace

std::optional<PixelOrder> pixelOrderFromName(std::string_view name) {
    if (name == "bgr0" || name == "bgra") return PixelOrder::Bgrx;
    if (name == "rgb0" || name == "rgba") return PixelOrder::Rgbx;
    return std::nullopt;
}

std::optional<RawFrame> RawFrame::copyOf(const void* firstRow, int width, int height,
                                         std::ptrdiff_t stride, std::string_view format) {
    auto order = pixelOrderFromName(format);
    if (!order || !firstRow || !sideOk(width) || !sideOk(height)) return std::nullopt;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * kPixelBytes;
    const std::size_t reach =
        stride < 0 ? static_cast<std::size_t>(-stride) : static_cast<std::size_t>(stride);
    if (height > 1 && reach < rowBytes) return std::nullopt;  // rows would overlap
    RawFrame frame;
    frame.width = width;
    frame.height = height;
    frame.stride = rowBytes;
    frame.order = *order;
    frame.pixels.resize(rowBytes * static_cast<std::size_t>(height));
    const auto* row = static_cast<const unsigned char*>(firstRow);
    for (int y = 0; y < height; ++y, row += stride)
        std::memcpy(frame.pixels.data() + static_cast<std::size_t>(y) * rowBytes, row, rowBytes);
    return frame;
}

bool RawFrame::valid() const {
    if (!sideOk(width) || !sideOk(height)) return false;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * kPixelBytes;
    if (stride < rowBytes) return false;
    return pixels.size() >= stride * static_cast<std::size_t>(height - 1) + rowBytes;
}

std::size_t bmpRowBytes(int width) {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t(3);
}

std::optional<std::string> encodeBmp(const RawFrame& frame) {
    if (!frame.valid()) return std::nullopt;
    const std::size_t rowBytes = bmpRowBytes(frame.width);
    const std::size_t dataBytes = rowBytes * static_cast<std::size_t>(frame.height);
    if (dataBytes > UINT32_MAX - kBmpHeaderSize) return std::nullopt;

    std::string out;
    out.reserve(kBmpHeaderSize + dataBytes);
    out += "BM";
    put32(out, static_cast<std::uint32_t>(dataBytes + kBmpHeaderSize));
    put16(out, 0);
    put16(out, 0);
    put32(out, kBmpHeaderSize);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(frame.width));
    put32(out, static_cast<std::uint32_t>(frame.height));  // positive: rows bottom-up
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);         // no compression
    out.append(20, '\0');  // image size, resolutions and colour counts

    const bool swap = frame.order == PixelOrder::Rgbx;
    std::string row(rowBytes, '\0');  // the padding stays zero
    for (int y = frame.height - 1; y >= 0; --y) {
        const char* src = frame.pixels.data() + static_cast<std::size_t>(y) * frame.stride;
        char* dst = row.data();
        for (int x = 0; x < frame.width; ++x, src += kPixelBytes, dst += 3) {
            dst[0] = swap ? src[2] : src[0];
            dst[1] = src[1];
            dst[2] = swap ? src[0] : src[2];
        }
        out += row;
    }
    return out;
}

}  // namespace orvalis

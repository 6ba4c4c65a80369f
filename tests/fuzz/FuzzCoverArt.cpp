// The cover-picture reader on any bytes of a medium: it must not crash, read past what it
// was given, or hand back anything but a picture within the size limit.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/CoverArt.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const orvalis::cover::MemorySource source(bytes);
    if (auto picture = orvalis::cover::embeddedPicture(source)) {
        if (picture->bytes.size() > orvalis::cover::kMaxPictureBytes) __builtin_trap();
        if (orvalis::cover::pictureExtension(picture->bytes) != picture->extension)
            __builtin_trap();
    }
    return 0;
}

// What a D-Bus client's OpenUri and a file URL turn into, for any text: no crash, and a
// local path that comes out always goes back to the same URL's path.
#include "fuzz_common.h"
#include "player/Mpris.h"

using namespace orvalis;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::bytesOf(data, size);
    (void)mpris::openTargetOf(text);
    if (auto path = mpris::localPathOf(text))
        fuzz::check(!path->empty() && path->front() == '/' &&
                    mpris::localPathOf(mpris::fileUrl(*path)) == path);
    return 0;
}

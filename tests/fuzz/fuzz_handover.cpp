// The message a running player reads from any client of its socket: no crash, whatever the
// bytes and however they are cut, and a list that is read goes back out and in unchanged.
#include "base/HandOver.h"
#include "fuzz_common.h"

using namespace orvalis;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte says how the rest arrives: in pieces of that many bytes.
    const std::size_t piece = data[0] + 1u;
    const std::string_view bytes = fuzz::bytesOf(data, size, 1);
    handover::Reader reader;
    for (std::size_t at = 0; at < bytes.size(); at += piece) reader.feed(bytes.substr(at, piece));
    if (reader.state() != handover::Reader::State::Done) return 0;
    handover::Reader again;
    fuzz::check(again.feed(handover::encode(reader.paths())) == handover::Reader::State::Done &&
                again.paths() == reader.paths());
    return 0;
}

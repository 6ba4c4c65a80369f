// The bookmark file reader and rewriter on arbitrary bytes. Input: one byte choosing the
// medium, three bytes of medium length, then the file. Beyond not crashing: what is read
// is a valid list, and a saved list reads back unchanged from the rewritten file.
#include "extras/BookmarkFile.h"
#include "fuzz_common.h"

using namespace orvalis::bookmarks;
using orvalis::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    static const char* const kMedia[] = {"/media/clip.mp4", "/a/b.mp4", "/영화/한글.avi",
                                         "/x/a/b.mp4"};
    const std::string media = kMedia[data[0] % 4];
    // Below 100 hours: longer positions are written but the format cannot read them back.
    const int length = static_cast<int>((data[1] << 16 | data[2] << 8 | data[3]) % 360000);
    const std::string_view file = orvalis::fuzz::bytesOf(data, size, 4);

    const auto list = readBookmarks(file, media, length);
    check(list.size() <= static_cast<std::size_t>(kMaxBookmarks) &&
          std::is_sorted(list.begin(), list.end()) &&
          std::adjacent_find(list.begin(), list.end()) == list.end() &&
          (list.empty() || (list.front() >= 1 && list.back() < length)));
    const std::string saved = rewriteBookmarks(file, media, list);
    check(readBookmarks(saved, media, length) == list);
    check(rewriteBookmarks(saved, media, list) == saved);
    return 0;
}

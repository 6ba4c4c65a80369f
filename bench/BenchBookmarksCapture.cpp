// A capture is encoded on the UI thread, and the bookmark file is read and rewritten there
// at every medium change: both must stay far below a frame's time for ordinary sizes.
#include <benchmark/benchmark.h>

#include <string>

#include "extras/BmpImage.h"
#include "extras/BookmarkFile.h"

namespace {

void encodeFrame(benchmark::State& state) {
    orvalis::RawFrame frame;
    frame.width = static_cast<int>(state.range(0));
    frame.height = static_cast<int>(state.range(1));
    frame.stride = static_cast<std::size_t>(frame.width) * 4;
    frame.pixels.assign(frame.stride * static_cast<std::size_t>(frame.height), '\x7f');
    for (auto _ : state) benchmark::DoNotOptimize(orvalis::encodeBmp(frame));
}
BENCHMARK(encodeFrame)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

// A file of many media with 20 bookmarks each; the medium looked for stands last.
std::string bookmarkFile(int media) {
    std::string file;
    for (int m = 0; m < media; ++m) {
        file += "[/home/user/Videos/series/episode " + std::to_string(m) + ".mkv]\n";
        for (int b = 0; b < 20; ++b)
            file += "bm" + std::to_string(b) + "=00:" + std::to_string(10 + b) + ":00\n";
    }
    return file;
}

void readFile(benchmark::State& state) {
    const std::string file = bookmarkFile(static_cast<int>(state.range(0)));
    const std::string media = "/x/episode " + std::to_string(state.range(0) - 1) + ".mkv";
    for (auto _ : state)
        benchmark::DoNotOptimize(orvalis::bookmarks::readBookmarks(file, media, 7200));
}
BENCHMARK(readFile)->Arg(5000)->Unit(benchmark::kMillisecond);

void rewriteFile(benchmark::State& state) {
    const std::string file = bookmarkFile(static_cast<int>(state.range(0)));
    const std::string media = "/home/user/Videos/series/episode 7.mkv";
    const std::vector<int> list = {60, 600, 1200};
    for (auto _ : state)
        benchmark::DoNotOptimize(orvalis::bookmarks::rewriteBookmarks(file, media, list));
}
BENCHMARK(rewriteFile)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

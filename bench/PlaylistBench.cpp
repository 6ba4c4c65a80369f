// Loading, sorting, checking and keeping a play list of 100,000 entries.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/AtomicFile.h"
#include "base/IniSettingsStore.h"
#include "base/Prompter.h"
#include "playlist/FileSystemView.h"
#include "playlist/Playlist.h"
#include "support/SilentPrompter.h"

namespace {

using namespace orvalis;

constexpr int kEntries = 100000;

using bench::SilentPrompter;

// A scratch folder of this run, with a 100,000-entry M3U in it: a mix of absolute paths,
// relative ones and addresses, Korean and Latin names, in no particular order.
struct Scratch {
    Scratch() {
        char tmpl[] = "/tmp/orvalis-bench-XXXXXX";
        dir = ::mkdtemp(tmpl);
        std::string text = "#EXTM3U\n";
        for (int i = 0; i < kEntries; ++i) {
            unsigned h = static_cast<unsigned>(i) * 2654435761u;
            std::string name = std::to_string(h % 1000003) + (i % 3 ? " 노래 " : " Song ");
            text += "#EXTINF:0," + name + "\n";
            if (i % 5 == 0)
                text += "album " + std::to_string(i % 97) + "/" + name + ".mp3\n";
            else if (i % 7 == 0)
                text += "http://radio.example/" + name + ".mp3\n";
            else
                text += "/home/user/Music/" + std::to_string(i % 211) + "/" + name + ".avi\n";
        }
        list = dir + "/big.m3u";
        writeFileAtomically(list, text);
    }
    ~Scratch() { std::filesystem::remove_all(dir); }
    std::string dir, list;
};

Scratch& scratch() {
    static Scratch s;
    return s;
}

struct Fixture {
    explicit Fixture(const std::string& settingsFile) : settings(settingsFile) {}
    IniSettingsStore settings;
    SilentPrompter prompter;
    LocalFileSystem files;
    Playlist playlist{settings, prompter, files};
};

void BM_LoadM3u100k(benchmark::State& state) {
    Fixture f(scratch().dir + "/load.conf");
    for (auto _ : state) {
        if (f.playlist.AddPath(scratch().list) != 1) state.SkipWithError("list not loaded");
        benchmark::DoNotOptimize(f.playlist.model().count());
    }
    state.counters["rows"] = f.playlist.model().count();
}
BENCHMARK(BM_LoadM3u100k)->Unit(benchmark::kMillisecond);

void BM_SortByName100k(benchmark::State& state) {
    Fixture f(scratch().dir + "/sort.conf");
    f.playlist.AddPath(scratch().list);
    for (auto _ : state) f.playlist.SortByName();  // alternately ascending and descending
}
BENCHMARK(BM_SortByName100k)->Unit(benchmark::kMillisecond);

void BM_CheckDuplicates100k(benchmark::State& state) {
    Fixture f(scratch().dir + "/dup.conf");
    f.playlist.AddPath(scratch().list);
    for (auto _ : state) benchmark::DoNotOptimize(f.playlist.CheckDuplicates());
}
BENCHMARK(BM_CheckDuplicates100k)->Unit(benchmark::kMillisecond);

// The list kept in the settings file across runs: one atomic write, then a fresh read.
void BM_SaveAndLoadSettings100k(benchmark::State& state) {
    Fixture f(scratch().dir + "/keep.conf");
    f.playlist.AddPath(scratch().list);
    for (auto _ : state) {
        f.playlist.save();
        Fixture g(scratch().dir + "/keep.conf");
        g.playlist.load();
        if (g.playlist.model().count() != kEntries) state.SkipWithError("rows lost");
    }
}
BENCHMARK(BM_SaveAndLoadSettings100k)->Unit(benchmark::kMillisecond);

// A second start hands over this many files at once (a whole music folder by a glob).
void BM_HandOverPaths(benchmark::State& state) {
    std::vector<std::string> paths;
    for (int i = 0; i < state.range(0); ++i)
        paths.push_back("/home/user/Music/" + std::to_string(i % 211) + "/" + std::to_string(i) + " 노래.mp3");
    for (auto _ : state) {
        Fixture f(scratch().dir + "/handover.conf");
        f.playlist.AddPaths(paths);
        if (f.playlist.model().count() != state.range(0)) state.SkipWithError("rows lost");
    }
}
BENCHMARK(BM_HandOverPaths)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

// One setting changed (full screen, transparency) while a 100,000-entry list is stored.
void BM_SettingsPutWith100kList(benchmark::State& state) {
    Fixture f(scratch().dir + "/put.conf");
    f.playlist.AddPath(scratch().list);
    f.playlist.save();
    int value = 0;
    for (auto _ : state) f.settings.putInt("Config", "Always On Top", value ^= 1);
    if (!f.settings.lastWriteSucceeded()) state.SkipWithError("write failed");
}
BENCHMARK(BM_SettingsPutWith100kList)
    ->Name("settings_put_with_100k_list")
    ->Unit(benchmark::kMillisecond);

}  // namespace

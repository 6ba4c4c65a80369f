// The playlist window with 100,000 rows: filling it from a list file, drawing it, and a
// click on a row. Runs without a screen (Qt's offscreen platform) when none is there.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QPixmap>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "base/AtomicFile.h"
#include "base/IniSettingsStore.h"
#include "base/Prompter.h"
#include "playlist/PlaylistListView.h"
#include "playlist/PlaylistWindow.h"
#include "support/SilentPrompter.h"

namespace {

using namespace orvalis;

constexpr int kEntries = 100000;

using bench::SilentPrompter;

QApplication& app() {
    static int argc = 1;
    static char name[] = "bench_playlist_window";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication instance(argc, argv);
    return instance;
}

// A scratch folder with a 100,000-entry M3U and the window's settings file.
struct Scratch {
    Scratch() {
        char tmpl[] = "/tmp/orvalis-bench-window-XXXXXX";
        dir = ::mkdtemp(tmpl);
        std::string text = "#EXTM3U\n";
        for (int i = 0; i < kEntries; ++i)
            text += "/home/user/음악/" + std::to_string(i % 211) + "/" + std::to_string(i) +
                    (i % 2 ? " 노래.mp3\n" : " Song.mkv\n");
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
    Fixture() : settings(scratch().dir + "/window.conf") {
        app();
        window = std::make_unique<PlaylistWindow>(settings, prompter, PlaylistHost{});
        window->resize(240, 600);
    }
    IniSettingsStore settings;
    SilentPrompter prompter;
    std::unique_ptr<PlaylistWindow> window;
};

// The list file read, the rows handed to the list and the first screenful drawn.
void BM_FillAndDraw100k(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        f.window->port().addPaths({scratch().list});
        benchmark::DoNotOptimize(f.window->grab());
    }
    state.counters["rows"] = f.window->list().model()->rowCount();
}
BENCHMARK(BM_FillAndDraw100k)->Unit(benchmark::kMillisecond);

// One screenful drawn in the middle of the list.
void BM_DrawMiddle100k(benchmark::State& state) {
    Fixture f;
    f.window->port().addPaths({scratch().list});
    f.window->showRow(kEntries / 2);
    for (auto _ : state) benchmark::DoNotOptimize(f.window->grab());
}
BENCHMARK(BM_DrawMiddle100k)->Unit(benchmark::kMillisecond);

// A click selects one row and clears the others.
void BM_ClickRow100k(benchmark::State& state) {
    Fixture f;
    f.window->port().addPaths({scratch().list});
    int row = 0;
    for (auto _ : state) {
        f.window->controller().click(row, false, false);
        row = (row + 7919) % kEntries;
    }
}
BENCHMARK(BM_ClickRow100k)->Unit(benchmark::kMicrosecond);

}  // namespace

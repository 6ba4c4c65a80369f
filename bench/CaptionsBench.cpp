// The caption parser on a feature-length file, and the lookup of the playback tick.
#include <benchmark/benchmark.h>

#include <string>

#include "app/TextCodec.h"
#include "captions/CaptionModel.h"

using namespace orvalis;

namespace {

constexpr int kCaptions = 1500;
constexpr int kSeconds = 2 * 3600;

// A two-hour file in CP949, as most Korean caption files are: every SYNC carries a
// Korean and an English line, and every caption is cleared before the next one.
std::string twoHourFile() {
    std::string sami =
        "<SAMI>\r\n<HEAD>\r\n<TITLE>두 시간</TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
        "P { margin-left:8pt; margin-right:8pt; text-align:center; font-size:20pt; }\r\n"
        ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\r\n"
        ".ENCC { Name:English; lang:en-US; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n"
        "<BODY>\r\n";
    const int step = kSeconds * 1000 / kCaptions;
    for (int i = 0; i < kCaptions; ++i) {
        const int start = i * step + 500;
        const std::string n = std::to_string(i);
        sami += "<SYNC Start=" + std::to_string(start) + "><P Class=KRCC>\r\n";
        if (i % 3 == 0) sami += "<font color=\"#FFFF80\">";
        sami += "- 지금 몇 번째 대사인지 알아? " + n + "번째야.<br>- 그래서 뭐, 어쩌라고?\r\n";
        sami += "<P Class=ENCC>\r\n- Do you know which line this is? It is number " + n +
                ".<br>- So what?\r\n";
        sami += "<SYNC Start=" + std::to_string(start + step * 3 / 4) +
                "><P Class=KRCC>&nbsp;\r\n<P Class=ENCC>&nbsp;\r\n";
    }
    sami += "</BODY>\r\n</SAMI>\r\n";
    return *text::toCp949(sami);
}

void BM_ParseTwoHourFile(benchmark::State& state) {
    const std::string file = twoHourFile();
    CaptionModel model;
    for (auto _ : state) {
        model.parseBytes(file);
        benchmark::DoNotOptimize(model.lastSlot());
    }
    state.counters["file_bytes"] = static_cast<double>(file.size());
    state.counters["model_bytes"] = static_cast<double>(model.tables().memoryBytes());
    state.counters["cells"] = static_cast<double>(model.tables().texts.size() - 1);
}
BENCHMARK(BM_ParseTwoHourFile)->Unit(benchmark::kMillisecond);

// A file of one 10 MB line: no buffer splits it, and it takes no longer than its size.
void BM_ParseOneTenMegabyteLine(benchmark::State& state) {
    const std::string file = "<SYNC Start=1000><P Class=KRCC>" + std::string(10 << 20, 'a');
    CaptionModel model;
    for (auto _ : state) {
        model.parseBytes(file);
        benchmark::DoNotOptimize(model.lastSlot());
    }
}
BENCHMARK(BM_ParseOneTenMegabyteLine)->Unit(benchmark::kMillisecond);

void BM_LookupPerTick(benchmark::State& state) {
    CaptionModel model;
    model.parseBytes(twoHourFile());
    double position = 0;
    for (auto _ : state) {
        CaptionStep step = model.tick(position);
        if (step.redraw) model.lastDrawnCaption = model.currentCaption;
        benchmark::DoNotOptimize(step);
        position = position < kSeconds ? position + 0.1 : 0;
    }
}
BENCHMARK(BM_LookupPerTick)->Unit(benchmark::kNanosecond);

}  // namespace

// The caption parser on a feature-length file, and the lookup of the playback tick.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>

#include "base/TextCodec.h"
#include "captions/CaptionModel.h"
#include "captions/CaptionWriters.h"

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

// orvalis --convert on the same file without its file input and output: read as the player
// reads it, lines never cut, the first class written as SubRip.
void BM_ConvertTwoHourSami(benchmark::State& state) {
    const std::string file = twoHourFile();
    std::size_t written = 0;
    for (auto _ : state) {
        CaptionModel model;
        model.parseBytes(file, kNoLineDivide, "film.smi");
        const std::string srt =
            writeSubRip(captionCues(model.tables(), 0, CaptionModel::kHoldMilliseconds));
        written = srt.size();
        benchmark::DoNotOptimize(written);
    }
    state.counters["srt_bytes"] = static_cast<double>(written);
}
BENCHMARK(BM_ConvertTwoHourSami)->Name("convert_two_hour_sami")->Unit(benchmark::kMillisecond);

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

// The worst shapes of a 2 MB caption file, for each reader: each must take time in proportion
// to its size (a file of this size takes well under 100 ms in any shape).
constexpr std::size_t kWorstBytes = std::size_t(2) << 20;

std::string repeated(std::string_view piece, std::size_t bytes) {
    std::string out;
    out.reserve(bytes + piece.size());
    while (out.size() < bytes) out += piece;
    return out;
}

std::string timeText(long long ms) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld,%03lld", ms / 3600000, ms / 60000 % 60,
                  ms / 1000 % 60, ms % 1000);
    return buf;
}

// Cues that start one after the other, each with one character of text.
std::string cueEveryLine(bool vtt) {
    std::string out = vtt ? "WEBVTT\n\n" : "";
    for (long long ms = 0; out.size() < kWorstBytes; ms += 100) {
        std::string t = timeText(ms) + " --> " + timeText(ms + 100);
        if (vtt) t[8] = '.', t[t.size() - 4] = '.';
        out += t + "\nx\n\n";
    }
    return out;
}

std::string worstShape(std::string_view format, std::string_view shape) {
    const bool sami = format == "smi";
    const bool vtt = format == "vtt";
    const std::string head = sami  ? "<SYNC Start=1000><P Class=KRCC>"
                             : vtt ? "WEBVTT\n\n00:00:01.000 --> 00:00:02.000\n"
                                   : "1\n00:00:01,000 --> 00:00:02,000\n";
    if (shape == "italic_line") return head + repeated("x<i>", kWorstBytes);
    if (shape == "amp_cell") return head + std::string(kWorstBytes, '&');
    if (shape == "open_tag_lines") return head + repeated("a<font color=red\n", kWorstBytes);
    if (shape == "one_line") {
        if (!sami) return head + std::string(kWorstBytes, 'a');
        // A whole caption file written on one line.
        std::string out;
        for (int i = 0; out.size() < kWorstBytes; ++i)
            out += "<SYNC Start=" + std::to_string(i * 1000) + "><P Class=KRCC>대사 " +
                   std::to_string(i) + "<br><font color=\"#FFFF80\">둘째 줄</font>";
        return out;
    }
    // shape == "sync_every_byte": a new start before every character of text.
    if (!sami) return cueEveryLine(vtt);
    std::string out;
    for (int i = 0; out.size() < kWorstBytes; ++i)
        out += "<SYNC Start=" + std::to_string(i * 100) + ">x";
    return out;
}

void BM_ParseWorstShape(benchmark::State& state, std::string_view format, std::string_view shape) {
    const std::string file = worstShape(format, shape);
    const std::string path = "worst." + std::string(format);
    CaptionModel model;
    const std::clock_t cpuStart = std::clock();
    for (auto _ : state) {
        model.parseBytes(file, kDefaultDivideLength, path);
        benchmark::DoNotOptimize(model.lastSlot());
    }
    // The processor time of one parse, which a busy machine does not stretch as it does the
    // time on the clock.
    state.counters["cpu_ms"] =
        benchmark::Counter(1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC,
                           benchmark::Counter::kAvgIterations);
    state.counters["model_bytes"] = static_cast<double>(model.tables().memoryBytes());
}
#define WORST_SHAPE(format, shape)                                           \
    BENCHMARK_CAPTURE(BM_ParseWorstShape, format##_##shape, #format, #shape) \
        ->Unit(benchmark::kMillisecond)
WORST_SHAPE(smi, italic_line);
WORST_SHAPE(smi, amp_cell);
WORST_SHAPE(smi, sync_every_byte);
WORST_SHAPE(smi, one_line);
WORST_SHAPE(smi, open_tag_lines);
WORST_SHAPE(srt, italic_line);
WORST_SHAPE(srt, amp_cell);
WORST_SHAPE(srt, sync_every_byte);
WORST_SHAPE(srt, one_line);
WORST_SHAPE(vtt, italic_line);
WORST_SHAPE(vtt, amp_cell);
WORST_SHAPE(vtt, sync_every_byte);
WORST_SHAPE(vtt, one_line);

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

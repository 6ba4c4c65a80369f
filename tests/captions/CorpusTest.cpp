// Real caption files from other projects' test data (not in this repository; skipped
// where the clone has none), and FFmpeg's reading of each as a second opinion.
#include <gtest/gtest.h>

#include <map>

#include "base/TextCodec.h"
#include "captions/CaptionModel.h"
#include "captions/CharacterReferences.h"
#include "captions/SamiCorpus.h"

using namespace orvalis;

namespace {

// A caption as the viewer reads it: the display lines without their colours.
std::string shownText(std::string_view caption) {
    std::string out;
    for (std::size_t start = 0; start <= caption.size();) {
        std::size_t end = std::min(caption.find('\n', start), caption.size());
        std::string_view line = caption.substr(start, end - start);
        if (!out.empty()) out += '\n';
        out += line.substr(line.find('|') + 1);
        start = end + 1;
    }
    return out;
}

std::string withoutBlanks(std::string_view s) {
    std::string out;
    for (char c : s)
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t') out += c;
    return out;
}

struct Cue {
    double start;
    std::string text;
    double end = 0;
};

// The cues of an SRT file, with FFmpeg's markup and its undecoded references removed.
std::vector<Cue> srtCues(const std::string& srt) {
    std::vector<Cue> cues;
    std::size_t at = 0;
    while ((at = srt.find(" --> ", at)) != std::string::npos) {
        int h = 0, m = 0, s = 0, ms = 0, h2 = 0, m2 = 0, s2 = 0, ms2 = 0;
        std::sscanf(srt.c_str() + srt.rfind('\n', at) + 1, "%d:%d:%d,%d --> %d:%d:%d,%d", &h, &m,
                    &s, &ms, &h2, &m2, &s2, &ms2);
        std::size_t body = srt.find('\n', at) + 1;
        std::size_t end = srt.find("\n\n", body);
        std::string text = srt.substr(body, end == std::string::npos ? end : end - body);
        std::string plain;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '<')
                i = std::min(text.find('>', i), text.size());
            else
                plain += text[i];
        }
        for (std::string_view nbsp : {"&nbsp;", "&NBSP;"})
            for (std::size_t p; (p = plain.find(nbsp)) != std::string::npos;) plain.erase(p, 6);
        cues.push_back({h * 3600 + m * 60 + s + ms / 1000.0, decodeCharacterReferences(plain),
                        h2 * 3600 + m2 * 60 + s2 + ms2 / 1000.0});
        at = body;
    }
    return cues;
}

std::string captionAt(CaptionModel& model, double seconds) {
    model.clearCaptionTexts();
    model.tick(seconds);
    return shownText(model.currentCaption);
}

}  // namespace

// What FFmpeg gets wrong or cannot show: a last caption never cleared, text with no P
// tag, a SYNC tag split over two lines, and the colours.
TEST(CaptionCorpus, WhereFfmpegFails) {
    const std::string dir = test::corpusDir("sami");
    if (dir.empty()) GTEST_SKIP() << "no caption corpus in this clone";
    struct Case {
        const char* file;
        double seconds;
        const char* caption;
    } cases[] = {
        {"ko_cp949_small_topgear-trailer.smi", 36.05,
         "F3E2C1|새시즌 탑기어 BBC2에서 27일 일요일날 방영됩니다.\n"
         "F3E2C1|제작: Estoque (blog.naver.com/incusx)"},
        {"fx_discodo_no-p-tag.smi", 0.0, "F3E2C1|Hello, World!"},
        {"fx_sami-parser_split-sync-tag.smi", 7007.93,
         "F3E2C1|Lorem ipsum dolor sit amet, consectetur\n"
         "F3E2C1|Lorem ipsum dolor sit amet, consectetur\n"
         "F3E2C1|Lorem ipsum dolor sit amet, consectetur"},
        {"ko_cp949_kana_k-on-01.smi", 137.25, "RED|케이온!\nFF8000|Sub by ε늑대향з"},
        {"ko_utf8_fontface_onepunch.smi", 200.45, "FF9614|ONE PUNCH!!!!!"},
    };
    for (const Case& c : cases) {
        CaptionModel model;
        test::MemorySettingsStore settings;
        ASSERT_TRUE(model.parseCaptionFile(dir + "/" + c.file, settings)) << c.file;
        model.tick(c.seconds);
        EXPECT_EQ(model.currentCaption, c.caption) << c.file << " at " << c.seconds;
    }
}

// Where FFmpeg and this reading differ, two SYNCs of one language share a tenth of a
// second, and the later one takes the slot (a caption and its end mark, or an end mark
// 20 ms after a caption); or two languages share a SYNC, which FFmpeg shows as one caption
// and we as two languages.
TEST(CaptionCorpus, AgreesWithFfmpegOnEveryCueButSharedTenths) {
    const std::string dir = test::corpusDir("sami");
    if (dir.empty()) GTEST_SKIP() << "no caption corpus in this clone";
    const std::map<std::string, int> sharedTenths{{"fx_sami-parser_multi-language.smi", 3},
                                                  {"ko_cp949_mixed_topgear.smi", 1},
                                                  {"fx_pycaption_multi-lang-one-sync.smi", 1}};
    std::vector<std::string> files = test::samiCorpusFiles();
    EXPECT_GE(files.size(), 20u);
    for (const std::string& file : files) {
        CaptionModel model;
        model.parseBytes(test::readFile(dir + "/" + file));
        int differ = 0;
        for (const Cue& cue : srtCues(test::readFile(dir + "/" + file + ".ffmpeg.srt"))) {
            if (withoutBlanks(cue.text).empty()) continue;
            if (withoutBlanks(captionAt(model, cue.start)) != withoutBlanks(cue.text)) ++differ;
        }
        auto known = sharedTenths.find(file);
        EXPECT_EQ(differ, known == sharedTenths.end() ? 0 : known->second) << file;
    }
}

// FFmpeg's SubRip output of every file in the corpus, read back by our SubRip reader: each of
// its cues is found where it starts. Its own quirks are real-world SubRip too: cue ends 1193
// hours away, a first text line that is only a carriage return, CP949 text. Cues it wrote
// without length show in no SubRip player, ours included.
TEST(CaptionCorpus, FfmpegsSubRipOutputReadsBackCueForCue) {
    const std::string dir = test::corpusDir("sami");
    if (dir.empty()) GTEST_SKIP() << "no caption corpus in this clone";
    for (const std::string& file : test::samiCorpusFiles()) {
        const std::string srtPath = dir + "/" + file + ".ffmpeg.srt";
        const std::string srt = test::readFile(srtPath);
        CaptionModel model;
        model.parseBytes(srt, 40, srtPath);
        int cues = 0, differ = 0;
        for (const Cue& cue : srtCues(srt)) {
            if (withoutBlanks(cue.text).empty() || cue.end == cue.start) continue;
            ++cues;
            if (withoutBlanks(captionAt(model, cue.start)) != withoutBlanks(cue.text)) {
                if (++differ <= 3)
                    ADD_FAILURE() << file << " at " << cue.start << ": "
                                  << captionAt(model, cue.start) << " | " << cue.text;
            }
        }
        EXPECT_EQ(differ, 0) << file << " of " << cues;
    }
}

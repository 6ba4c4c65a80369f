// Captions written out as SubRip, WebVTT and SAMI, and read back by the player's own readers.
#include <gtest/gtest.h>

#include "captions/CaptionModel.h"
#include "captions/CaptionWriters.h"
#include "captions/SamiCorpus.h"

using namespace orvalis;

namespace {

constexpr int kHold = CaptionModel::kHoldMilliseconds;
const TimedTextOptions kWhole{kNoLineDivide, ""};

CaptionModel modelOf(std::string_view bytes, std::string_view path = "a.smi") {
    CaptionModel model;
    model.parseBytes(bytes, kNoLineDivide, path);
    return model;
}

std::vector<SamiTrack> allTracks(const CaptionTables& tables) {
    std::vector<SamiTrack> tracks;
    for (int i = 0; i < tables.languageCount(); ++i)
        tracks.push_back(
            {tables.languageCodes[static_cast<std::size_t>(i)], captionCues(tables, i, kHold)});
    return tracks;
}

std::string describe(const std::vector<CaptionCue>& cues) {
    std::string out;
    for (const CaptionCue& c : cues) {
        out += cueTime(c.startMs) + " " + cueTime(c.endMs);
        for (const CueLine& l : c.lines) out += " [" + l.colour + "|" + l.text + "]";
        out += "\n";
    }
    return out;
}

}  // namespace

TEST(CaptionWriters, EachClassKeepsItsOwnTimelineColoursAndReferences) {
    // The English lines fall between the Korean ones; the last Korean caption is never
    // cleared, the last English one is.
    const CaptionModel model = modelOf(
        "<SAMI><BODY>\n"
        "<SYNC Start=1000><P Class=KRCC><font color=red>하나</font><br>&lt;둘&gt; &amp; 셋\n"
        "<SYNC Start=1500><P Class=ENCC>One &#x3E; two\n"
        "<SYNC Start=3000><P Class=KRCC>&nbsp;\n"
        "<SYNC Start=3200><P Class=ENCC><font color=\"#80ff00\">Three --> four</font>\n"
        "<SYNC Start=4000><P Class=KRCC><br>넷\n"
        "<SYNC Start=5000><P Class=ENCC>&nbsp;\n"
        "</BODY></SAMI>\n");
    ASSERT_EQ(model.languageCodes(), (std::vector<std::string>{"KRCC", "EGCC"}));
    const std::vector<CaptionCue> korean = captionCues(model.tables(), 0, kHold);
    const std::vector<CaptionCue> english = captionCues(model.tables(), 1, kHold);
    EXPECT_EQ(describe(korean),
              "00:00:01,000 00:00:03,000 [FF0000|하나] [|<둘> & 셋]\n"
              "00:00:04,000 00:00:19,000 [|넷]\n");
    EXPECT_EQ(describe(english),
              "00:00:01,500 00:00:03,200 [|One > two]\n"
              "00:00:03,200 00:00:05,000 [80FF00|Three --> four]\n");

    const std::string srt = writeSubRip(korean);
    EXPECT_EQ(srt,
              "1\n00:00:01,000 --> 00:00:03,000\n<font color=\"#FF0000\">하나</font>\n<둘> & 셋\n\n"
              "2\n00:00:04,000 --> 00:00:19,000\n넷\n\n");
    EXPECT_EQ(describe(captionCues(parseSubRip(writeSubRip(english), kWhole), 0, kHold)),
              describe(english));

    const std::string vtt = writeWebVtt(korean);
    EXPECT_TRUE(vtt.starts_with("WEBVTT\n\n00:00:01.000 --> 00:00:03.000\n"));
    EXPECT_NE(vtt.find("<c.red>하나</c>\n&lt;둘&gt; &amp; 셋\n"), std::string::npos) << vtt;
    EXPECT_EQ(describe(captionCues(parseWebVtt(vtt, kWhole), 0, kHold)), describe(korean));

    // SAMI: both classes, cleared where each ends, read back the same.
    const std::string sami = writeSami(allTracks(model.tables()));
    EXPECT_NE(sami.find("<SYNC Start=3000><P Class=KRCC>&nbsp;"), std::string::npos) << sami;
    EXPECT_NE(sami.find("<SYNC Start=19000><P Class=KRCC>&nbsp;"), std::string::npos) << sami;
    const CaptionTables back = SamiParser(kNoLineDivide).parse(sami);
    ASSERT_EQ(back.languageCodes, model.languageCodes());
    EXPECT_EQ(describe(captionCues(back, 0, kHold)), describe(korean));
    EXPECT_EQ(describe(captionCues(back, 1, kHold)), describe(english));

    // With English as the first language, Korean speaking first does not take its place.
    const std::string englishFirst = writeSami({{"EGCC", english}, {"KRCC", korean}});
    EXPECT_NE(englishFirst.find("<SYNC Start=0><P Class=ENCC>&nbsp;<P Class=KRCC>&nbsp;\n"
                                "<SYNC Start=1000><P Class=KRCC>"),
              std::string::npos)
        << englishFirst;
    EXPECT_EQ(SamiParser(kNoLineDivide).parse(englishFirst).languageCodes,
              (std::vector<std::string>{"EGCC", "KRCC"}));

    // Class names of a file's own that cannot be written as they are (other letters, a
    // broken character, another case of a name already used) still give a class each.
    const std::vector<SamiTrack> odd{
        {"KRCC", korean}, {"でスバラシ", english}, {"KRC\xEF\xBF\xBD", english}, {"krc", korean}};
    const CaptionTables oddBack = SamiParser(kNoLineDivide).parse(writeSami(odd));
    ASSERT_EQ(oddBack.languageCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(describe(captionCues(oddBack, i, kHold)),
                  describe(odd[static_cast<std::size_t>(i)].cues));
}

TEST(CaptionWriters, FormatsByExtensionAndHugeOrBrokenCuesStayWhole) {
    EXPECT_EQ(outputFormatOf("/x/Film.SRT"), CaptionFormat::SubRip);
    EXPECT_EQ(outputFormatOf("a.vtt"), CaptionFormat::WebVtt);
    EXPECT_EQ(outputFormatOf("a.sami"), CaptionFormat::Sami);
    EXPECT_EQ(outputFormatOf("a.txt"), std::nullopt);
    EXPECT_EQ(outputFormatOf("srt"), std::nullopt);

    // A 10,000-character cue, ASS overrides in plain SubRip, and overlapping cues.
    const std::string longLine(10000, 'x');
    const CaptionModel model =
        modelOf("1\n00:00:01,000 --> 00:00:04,000\n{\\an8}{\\i1}위" + longLine +
                    "\n\n2\n00:00:02,000 --> 00:00:03,000\n겹침\n",
                "a.srt");
    const std::vector<CaptionCue> cues = captionCues(model.tables(), 0, kHold);
    ASSERT_EQ(cues.size(), 3u);
    EXPECT_EQ(cues[1].lines.size(), 2u);  // both lines while the cues overlap
    EXPECT_EQ(cues[0].lines[0].text.substr(0, 4), "위x");
    EXPECT_EQ(describe(captionCues(parseSubRip(writeSubRip(cues), kWhole), 0, kHold)),
              describe(cues));
}

// Every file of the SAMI corpus, converted to SubRip per class and to SAMI with every class,
// reads back through the player's own readers cue for cue.
class CorpusConversion : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusConversion, ReadsBackCueForCue) {
    const std::string path = test::corpusDir("sami") + "/" + GetParam();
    const CaptionModel model = modelOf(test::readFile(path), path);
    ASSERT_TRUE(model.hasCaptions());
    // The Korean files in CP949, all others UTF-8 or plain ASCII.
    const bool cp949 = GetParam().find("cp949") != std::string::npos;
    EXPECT_EQ(model.encoding().encoding == text::Encoding::Cp949, cp949);
    const std::vector<SamiTrack> tracks = allTracks(model.tables());
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const std::vector<CaptionCue>& cues = tracks[i].cues;
        for (const CaptionCue& cue : cues) {
            ASSERT_FALSE(cue.lines.empty());
            EXPECT_LE(cue.endMs - cue.startMs, kHold);
            EXPECT_LT(cue.startMs, cue.endMs);
        }
        const std::string srt = writeSubRip(cues);
        // No blank line right after a timing line, none inside a cue.
        for (std::size_t at = srt.find(" --> "); at != std::string::npos;
             at = srt.find(" --> ", at + 1))
            EXPECT_NE(srt[srt.find('\n', at) + 1], '\n');
        EXPECT_EQ(srt.find("\n\n\n"), std::string::npos);
        EXPECT_EQ(describe(captionCues(parseSubRip(srt, kWhole), 0, kHold)), describe(cues))
            << tracks[i].languageCode;
    }
    const CaptionTables back = SamiParser(kNoLineDivide).parse(writeSami(tracks));
    ASSERT_EQ(back.languageCount(), model.languageCount());
    for (int i = 0; i < back.languageCount(); ++i)
        EXPECT_EQ(describe(captionCues(back, i, kHold)),
                  describe(tracks[static_cast<std::size_t>(i)].cues))
            << tracks[static_cast<std::size_t>(i)].languageCode;
}

namespace {

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name;
    for (char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

}  // namespace

// A clone without the corpus has no cases to run.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusConversion);
INSTANTIATE_TEST_SUITE_P(Sami, CorpusConversion, ::testing::ValuesIn(test::samiCorpusFiles()),
                         testName);

// Which of the medium's own subtitle tracks is drawn, and how the messages name it.
#include <gtest/gtest.h>

#include <optional>

#include "captions/CaptionLanguages.h"
#include "captions/CaptionLookup.h"

using namespace orvalis;

namespace {

SubtitleTrack track(int id, std::string language, std::string title = "") {
    SubtitleTrack t;
    t.id = id;
    t.language = std::move(language);
    t.title = std::move(title);
    return t;
}

}  // namespace

TEST(SubtitleTrackRules, KoreanThenEnglishThenTheFirstTrack) {
    EXPECT_EQ(preferredSubtitleTrack({}), 0);
    EXPECT_EQ(preferredSubtitleTrack({track(3, "jpn"), track(4, "eng"), track(5, "kor")}), 5);
    EXPECT_EQ(preferredSubtitleTrack({track(3, "jpn"), track(4, "en-US"), track(5, "en")}), 4);
    EXPECT_EQ(preferredSubtitleTrack({track(7, "ger"), track(8, "")}), 7);
    // Tags in other shapes, and a title where the tag says nothing.
    EXPECT_EQ(preferredSubtitleTrack({track(1, "eng"), track(2, "ko-KR")}), 2);
    EXPECT_EQ(preferredSubtitleTrack({track(1, "eng"), track(2, "und", "Korean (SDH)")}), 2);
    EXPECT_EQ(preferredSubtitleTrack({track(1, "eng"), track(2, "", "한국어 자막")}), 2);
    // A tag that names another language is believed over its title.
    EXPECT_EQ(preferredSubtitleTrack({track(1, "jpn", "Korean"), track(2, "fre")}), 1);
    EXPECT_EQ(languageClassOfTrack(track(1, "jpn", "Korean")), "JPCC");
    // The round (the controller's test goes round it) starts over from a track not listed.
    EXPECT_EQ(subtitleTrackAfter({track(2, "kor"), track(5, "eng")}, 4), 2);
    EXPECT_EQ(subtitleTrackAfter({}, 1), 0);
}

TEST(SubtitleTrackRules, TheMessageNamesTheLanguageAndTheTitle) {
    EXPECT_EQ(subtitleTrackMessage(track(1, "eng", "SDH")), "자막 언어 : 영어 (SDH)");
    EXPECT_EQ(subtitleTrackMessage(track(1, "ger", "Deutsch")), "자막 언어 : ger (Deutsch)");
    EXPECT_EQ(subtitleTrackMessage(track(1, "", "")), "자막 언어 : 알 수 없음");
    EXPECT_EQ(subtitleTrackMessage(track(1, "und", "Signs")), "자막 언어 : 알 수 없음 (Signs)");
    EXPECT_EQ(subtitleTrackMessage(track(1, "und", "한글")), "자막 언어 : 한글");
    // A title from the medium cannot break the message into lines or run on for ever.
    EXPECT_EQ(subtitleTrackMessage(track(1, "kor", "첫째\n둘째\t셋째")),
              "자막 언어 : 한글 (첫째 둘째 셋째)");
    const std::string message = subtitleTrackMessage(track(1, "eng", std::string(5000, 'x')));
    EXPECT_EQ(message, "자막 언어 : 영어 (" + std::string(48, 'x') + ")");
    EXPECT_EQ(subtitleTrackMessage(track(1, std::string(100, 'q'))),
              "자막 언어 : " + std::string(16, 'q'));
}

TEST(SubtitleTrackRules, LanguageTags) {
    EXPECT_EQ(languageClassOfTag(" KOR "), "KRCC");
    EXPECT_EQ(languageClassOfTag("en_GB"), "EGCC");
    EXPECT_EQ(languageClassOfTag("kr"), "");
    EXPECT_EQ(languageClassOfTag("-"), "");
}

TEST(CaptionFileNames, TheNameGivesTheLanguage) {
    struct Row {
        const char* name;
        std::optional<std::string> tag;
        std::string_view code;
    };
    const Row rows[] = {
        {"film.smi", "", ""},
        {"film.SRT", "", ""},
        {"film.ko-KR.vtt", "ko-KR", "KRCC"},
        {"film.Korean.srt", "Korean", "KRCC"},
        {"film.한글.smi", "한글", "KRCC"},
        {"film.English.vtt", "English", "EGCC"},
        {"film.de.srt", "de", ""},
        {"film.mkv", std::nullopt, ""},
        {"film.ko.txt", std::nullopt, ""},
        {"film2.ko.srt", std::nullopt, ""},
        {"film.a.b.srt", std::nullopt, ""},
        {"film..srt", std::nullopt, ""},
        {"film.srt.bak", std::nullopt, ""},
        {"film.0123456789012345678901234567890123.srt", std::nullopt, ""},
    };
    for (const Row& row : rows) {
        const std::optional<std::string> tag = captionTagOf("film", row.name);
        EXPECT_EQ(tag, row.tag) << row.name;
        if (tag) {
            EXPECT_EQ(languageClassOfName(*tag), row.code) << row.name;
        }
    }
}

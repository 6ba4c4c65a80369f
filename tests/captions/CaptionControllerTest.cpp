#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "base/SettingsKeys.h"
#include "base/TextCodec.h"
#include "captions/CaptionController.h"
#include "captions/CaptionEncodings.h"
#include "captions/CaptionModel.h"
#include "player/PlayerFakes.h"
#include "support/TestSupport.h"

using namespace orvalis;
using test::freshDir;
using test::writeFile;

namespace {

class FakeHost final : public CaptionHost {
public:
    const EngineFlags& mediaFlags() const override { return flags; }
    void setCaptionsLoaded(bool loaded) override { flags.captionsLoaded = loaded; }
    void pauseOrResume() override {
        log.push_back(flags.playing ? "pause" : "resume");
        flags.playing = !flags.playing;
        flags.paused = !flags.playing;
    }
    CaptionFrame captionFrame() const override { return frame; }
    bool fullScreenOrMaximized() const override { return fullScreen; }
    void exitFullScreen() override {
        fullScreen = false;
        log.push_back("exitFullScreen");
    }
    void applyCaptionSpace() override { log.push_back("space"); }
    void refreshCaptionButtons() override { ++buttonRefreshes; }
    void setBusyCursor(bool busy) override { log.push_back(busy ? "wait" : "arrow"); }

    EngineFlags flags;
    CaptionFrame frame{640, 480, false, 60};
    bool fullScreen = false;
    int buttonRefreshes = 0;
    std::vector<std::string> log;
};

class FakeCanvas final : public CaptionCanvas {
public:
    TextExtent measure(std::string_view utf8) const override {
        return {static_cast<int>(text::cp949Units(utf8)) * 10, 30};
    }
    void setFont(const CaptionFont& f) override { font = f; }
    void present(const CaptionPicture& p) override {
        shown = p;
        ++presents;
    }
    CaptionFont font;
    CaptionPicture shown;
    int presents = 0;
};

class FakeOsd final : public OsdPort {
public:
    void show(const std::string& text, int) override { shown.push_back(text); }
    void showAt(const std::string& text, geometry::Point, int) override { shown.push_back(text); }
    void hide() override {}
    std::string last() const { return shown.empty() ? "" : shown.back(); }
    std::vector<std::string> shown;
};

// The media framework's subtitle tracks: what it was asked, in order.
class FakeTracks final : public SubtitleTrackControl {
public:
    void setSubtitleTrackListener(SubtitleTrackListener* l) override { listener = l; }
    void selectSubtitleTrack(int id) override { log.push_back("select " + std::to_string(id)); }
    void selectSecondSubtitleTrack(int id) override {
        log.push_back("second " + std::to_string(id));
    }
    void setSubtitlesVisible(bool visible) override {
        log.push_back(visible ? "visible" : "hidden");
    }
    void setSubtitleDelay(double seconds) override {
        std::ostringstream out;
        out << "delay " << seconds;
        log.push_back(out.str());
    }
    SubtitleTrackListener* listener = nullptr;
    std::vector<std::string> log;
};

// A styled track unless told otherwise: the framework draws it.
SubtitleTrack track(int id, std::string language, std::string title = "",
                    std::string codec = "ass") {
    SubtitleTrack t;
    t.id = id;
    std::tie(t.language, t.title, t.codec) = std::tie(language, title, codec);
    return t;
}

// One SubRip cue from 1 s to 5 s.
std::string srt(const std::string& text) {
    return "1\n00:00:01,000 --> 00:00:05,000\n" + text + "\n";
}

std::vector<std::string> texts(const CaptionPicture& p) {
    std::vector<std::string> out;
    for (const CaptionLine& line : p.lines) out.push_back(line.text);
    return out;
}

std::vector<std::string> selections(const std::vector<std::string>& log) {
    std::vector<std::string> out;
    for (const std::string& line : log)
        if (line.starts_with("select")) out.push_back(line);
    return out;
}

// Remembers whether the medium played while the dialog was open.
class DialogPrompter final : public Prompter {
public:
    explicit DialogPrompter(const FakeHost& host) : host_(host) {}
    MessageResult message(const MessageRequest&) override { return MessageResult::Ok; }
    std::vector<std::string> openFiles(const FileDialogRequest& request, bool) override {
        asked.push_back(request);
        playingWhileOpen = host_.flags.playing;
        return answer;
    }
    std::optional<std::string> saveFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::vector<FileDialogRequest> asked;
    std::vector<std::string> answer;
    bool playingWhileOpen = true;

private:
    const FakeHost& host_;
};

const std::string kTwoLanguages =
    "<SAMI><BODY>\n"
    "<SYNC Start=1000><P Class=KRCC>하나<P Class=ENCC>one\n"
    "<SYNC Start=4000><P Class=KRCC>&nbsp;<P Class=ENCC>&nbsp;\n"
    "<SYNC Start=10000><P Class=KRCC>둘<P Class=ENCC>two\n"
    "<SYNC Start=20000><P Class=KRCC>&nbsp;<P Class=ENCC>&nbsp;\n"
    "</BODY></SAMI>\n";

class CaptionControllerTest : public ::testing::Test {
protected:
    CaptionControllerTest() {
        host.flags.loaded = true;
        host.flags.hasVideo = true;
        host.flags.playing = true;
        style.fontSize = 37;
        style.fontOffset = -17;
        captions.registerCommands(commands);
    }
    // A caption command, as the player's command table runs it.
    void command(CommandId id) { EXPECT_TRUE(commands.run(id)) << commandNumber(id); }
    // A caption file in a folder of its own, loaded as if dropped on the window.
    std::string load(const std::string& sami = kTwoLanguages) {
        const std::string path = freshDir("drop") + "/film.smi";
        writeFile(path, sami);
        captions.loadDropped(path);
        return path;
    }
    void useCaptionFolders(const std::vector<std::string>& folders) {
        settings.putInt(sections::Caption, "Use Caption Folder", 1);
        settings.putInt(sections::CaptionFolders, "Count", static_cast<int>(folders.size()));
        for (std::size_t i = 0; i < folders.size(); ++i)
            settings.putString(sections::CaptionFolders, std::to_string(i), folders[i]);
    }
    // The caption shown at 1 s once the medium's caption file is looked for; "" for none.
    std::string shownFor(const std::string& medium) {
        host.flags.captionsLoaded = captions.findCaptionFile(medium);
        if (!host.flags.captionsLoaded) return "";
        captions.lookup(1.0);
        return canvas.shown.empty() ? "?" : canvas.shown.lines.at(0).text;
    }

    FakeHost host;
    CaptionStyle style;
    test::MemorySettingsStore settings;
    test::FakeTimers timers;
    FakeCanvas canvas;
    DialogPrompter prompter{host};
    test::FakeDesktop desktop;
    FakeOsd osd;
    FakeTracks tracks;
    CaptionController captions{
        {host, style, settings, timers, canvas, prompter, desktop, &osd, &tracks}};
    CommandTable commands;
};

}  // namespace

TEST_F(CaptionControllerTest, SizeStaysWithin10To70AndAlwaysSaysSo) {
    load();
    style.fontOffset = 70 - style.fontSize;
    command(CommandId::CaptionLarger);
    EXPECT_EQ(style.fontOffset, 33);
    EXPECT_EQ(osd.last(), "자막 크기 : 70 Pt");
    EXPECT_FALSE(timers.isActive(TimerId::CaptionRedraw));

    command(CommandId::CaptionSmaller);
    EXPECT_EQ(osd.last(), "자막 크기 : 69 Pt");
    EXPECT_EQ(canvas.font.points, 69);
    EXPECT_EQ(timers.active[TimerId::CaptionRedraw], 10);  // redrawn with the new font

    // Without captions the size stays, and the message still comes.
    host.flags.captionsLoaded = false;
    command(CommandId::CaptionSmaller);
    EXPECT_EQ(osd.last(), "자막 크기 : 69 Pt");
    style.fontOffset = 10 - style.fontSize;
    host.flags.captionsLoaded = true;
    command(CommandId::CaptionSmaller);
    EXPECT_EQ(osd.last(), "자막 크기 : 10 Pt");
}

TEST_F(CaptionControllerTest, BottomMarginMovesTheCaptionAndSaysSoOnlyWhenItMoved) {
    load();
    captions.lookup(1.0);
    const int top = canvas.shown.lines.at(0).rect.top;
    command(CommandId::CaptionUp);
    EXPECT_EQ(style.captionBottom, 11);
    EXPECT_EQ(osd.last(), "자막 하단 여백 : 11%");
    EXPECT_LT(canvas.shown.lines.at(0).rect.top, top);

    style.captionBottom = 50;
    osd.shown.clear();
    command(CommandId::CaptionUp);
    EXPECT_EQ(style.captionBottom, 50);
    EXPECT_TRUE(osd.shown.empty());
    style.captionBottom = 0;
    command(CommandId::CaptionDown);
    EXPECT_EQ(style.captionBottom, 0);
    EXPECT_TRUE(osd.shown.empty());
}

TEST_F(CaptionControllerTest, SyncStepsHalfSecondsWithinFiveMinutes) {
    load();
    for (int i = 0; i < 6; ++i) command(CommandId::CaptionSyncEarlier);
    EXPECT_EQ(osd.last(), "자막 싱크 : 3.0초 빠름");
    EXPECT_EQ(captions.syncOffset(), 30);

    captions.setSyncOffset(-5);
    command(CommandId::CaptionSyncEarlier);
    EXPECT_EQ(osd.last(), "자막 싱크 : 없음");
    command(CommandId::CaptionSyncLater);
    EXPECT_EQ(osd.last(), "자막 싱크 : 0.5초 느림");

    captions.setSyncOffset(2998);
    command(CommandId::CaptionSyncEarlier);
    EXPECT_EQ(captions.syncOffset(), 3000);
    EXPECT_EQ(osd.last(), "자막 싱크 : 300.0초 빠름");
    captions.setSyncOffset(-99999);  // a stored value out of range
    EXPECT_EQ(captions.syncOffset(), -3000);
    command(CommandId::CaptionSyncReset);
    EXPECT_EQ(osd.last(), "자막 싱크 : 없음");

    // The switch silences the message only; without captions nothing happens at all.
    settings.putInt(sections::Config, "Show Tooltip Caption Synch", 0);
    osd.shown.clear();
    command(CommandId::CaptionSyncLater);
    EXPECT_EQ(captions.syncOffset(), -5);
    EXPECT_TRUE(osd.shown.empty());
    host.flags.captionsLoaded = false;
    command(CommandId::CaptionSyncLater);
    EXPECT_EQ(captions.syncOffset(), -5);
}

TEST_F(CaptionControllerTest, CaptionSpaceResizesTheWindowEvenAtItsLimit) {
    load();
    style.captionSpace = 30;
    command(CommandId::CaptionAreaLarger);
    EXPECT_EQ(style.captionSpace, 30);
    EXPECT_EQ(osd.last(), "자막 공간 : 30 %");
    EXPECT_EQ(host.log.back(), "space");
    command(CommandId::CaptionAreaSmaller);
    EXPECT_EQ(style.captionSpace, 28);
    EXPECT_EQ(osd.last(), "자막 공간 : 28 %");
}

TEST_F(CaptionControllerTest, NextLanguageCyclesThroughTheFilesLanguages) {
    command(CommandId::CaptionLanguage);
    EXPECT_EQ(osd.last(), "자막 언어 : 없음");  // a medium without captions
    load();
    command(CommandId::CaptionLanguage);
    EXPECT_EQ(osd.last(), "자막 언어 : 영어");
    captions.lookup(1.0);
    EXPECT_EQ(canvas.shown.lines.at(0).text, "one");
    command(CommandId::CaptionLanguage);
    EXPECT_EQ(osd.last(), "자막 언어 : 한글");

    load("<SAMI><BODY><SYNC Start=1000><P>x\n</BODY></SAMI>");
    command(CommandId::CaptionLanguage);
    EXPECT_EQ(osd.last(), "자막 언어 : 알 수 없음");

    host.flags.loaded = false;  // no medium: not even a message
    osd.shown.clear();
    command(CommandId::CaptionLanguage);
    EXPECT_TRUE(osd.shown.empty());
}

TEST_F(CaptionControllerTest, FontTogglesAndTheOutlineThatForbidsSmoothing) {
    load();
    const int refreshes = host.buttonRefreshes;
    command(CommandId::CaptionSmoothing);
    EXPECT_TRUE(style.fontAlias);
    EXPECT_TRUE(canvas.font.smooth);
    command(CommandId::CaptionBorder);
    EXPECT_TRUE(style.fontBorder);
    EXPECT_FALSE(style.fontAlias);
    EXPECT_FALSE(canvas.font.smooth);
    command(CommandId::CaptionSmoothing);  // stays off under the outline
    EXPECT_FALSE(style.fontAlias);
    command(CommandId::CaptionBold);
    EXPECT_FALSE(canvas.font.bold);
    EXPECT_EQ(host.buttonRefreshes, refreshes + 3);  // the transport bar's check boxes follow

    captions.lookup(1.0);
    EXPECT_TRUE(canvas.shown.outline);
    EXPECT_EQ(canvas.shown.shadowOffset, 0);
}

TEST_F(CaptionControllerTest, HidingErasesAndShowingDrawsAgain) {
    load();
    captions.lookup(1.0);
    ASSERT_FALSE(canvas.shown.empty());
    command(CommandId::CaptionHide);
    EXPECT_FALSE(style.showCaption);
    EXPECT_TRUE(canvas.shown.empty());
    EXPECT_EQ(captions.model().lastDrawnCaption, "F3E2C1|하나");  // kept while hidden
    command(CommandId::CaptionHide);
    EXPECT_EQ(canvas.shown.lines.at(0).text, "하나");
}

TEST_F(CaptionControllerTest, ADroppedFileNeedsAMediumAndTheEditorOpensItOutsideFullScreen) {
    host.flags.loaded = false;
    load();
    EXPECT_FALSE(host.flags.captionsLoaded);
    host.flags.loaded = true;
    command(CommandId::CaptionFileView);
    EXPECT_TRUE(desktop.editedFiles.empty());
    const std::string path = load();
    EXPECT_TRUE(host.flags.captionsLoaded);
    host.fullScreen = true;
    command(CommandId::CaptionFileView);
    EXPECT_EQ(host.log, (std::vector<std::string>{"exitFullScreen"}));
    EXPECT_EQ(desktop.editedFiles, (std::vector<std::string>{path}));
}

TEST_F(CaptionControllerTest, CaptionFoldersAreSearchedBeforeTheMediumsFolder) {
    const std::string movies = freshDir("movies.dotted");
    const std::string e = freshDir("subs-e");
    const std::string f = freshDir("subs-f");
    writeFile(movies + "/film.smi", "<SYNC Start=1000><P>beside\n");
    // The medium's name loses its extension only; without one, ".smi" is added.
    EXPECT_EQ(shownFor(movies + "/film"), "beside");
    EXPECT_EQ(shownFor(movies + "/other.avi"), "");
    useCaptionFolders({"  ", " " + e + " ", f + "/"});
    auto found = [&] { return shownFor(movies + "/film.avi"); };
    EXPECT_EQ(found(), "beside");
    writeFile(f + "/film.smi", "<SYNC Start=1000><P>in f\n");
    EXPECT_EQ(found(), "in f");
    writeFile(e + "/film.smi", "<SYNC Start=1000><P>in e\n");
    EXPECT_EQ(found(), "in e");
    settings.putInt(sections::Caption, "Use Caption Folder", 0);
    EXPECT_EQ(found(), "beside");

    // A stream gets no lookup, and nothing of the file before it stays on the picture.
    ASSERT_FALSE(canvas.shown.empty());
    host.flags.captionsLoaded = false;  // as the opening leaves it
    EXPECT_FALSE(captions.findCaptionFile("http://example.invalid/film.avi"));
    EXPECT_TRUE(canvas.shown.empty());
    EXPECT_TRUE(captions.model().currentCaption.empty());
    // An absurd folder count costs nothing.
    settings.putInt(sections::Caption, "Use Caption Folder", 1);
    settings.putInt(sections::CaptionFolders, "Count", 2000000000);
    EXPECT_EQ(found(), "in e");
}

TEST_F(CaptionControllerTest, ASeekShowsTheCaptionOfTheLastFiveSecondsForFiveSeconds) {
    load();
    captions.afterSeek(13.0);  // 3 s into the caption that starts at 10 s
    EXPECT_EQ(canvas.shown.lines.at(0).text, "둘");
    EXPECT_EQ(timers.active[TimerId::CaptionHold], 5000);

    timers.active.clear();
    captions.afterSeek(16.0);  // "둘" started 6 s earlier: not shown again
    EXPECT_TRUE(canvas.shown.empty());
    EXPECT_FALSE(timers.isActive(TimerId::CaptionHold));
    EXPECT_EQ(captions.model().currentCaption, "");

    // Without captions a seek only erases.
    host.flags.captionsLoaded = false;
    captions.afterSeek(4.0);
    EXPECT_TRUE(canvas.shown.empty());
}

TEST_F(CaptionControllerTest, TheHoldTimerClearsAPlayingCaptionAndWaitsWhilePaused) {
    load();
    captions.lookup(1.0);
    EXPECT_EQ(timers.active[TimerId::CaptionHold], 15000);
    const int presents = canvas.presents;
    captions.lookup(1.1);  // the same caption: nothing is painted again
    EXPECT_EQ(canvas.presents, presents);

    captions.holdExpired(false, true);
    EXPECT_EQ(timers.active[TimerId::CaptionHold], 3000);
    EXPECT_FALSE(canvas.shown.empty());
    captions.holdExpired(true, false);
    EXPECT_FALSE(timers.isActive(TimerId::CaptionHold));
    EXPECT_TRUE(canvas.shown.empty());
    EXPECT_EQ(captions.model().lastDrawnCaption, "");
}

TEST_F(CaptionControllerTest, TheOpenDialogPausesAPlayingVideoAndLoadsTheChosenFile) {
    const std::string first = load();
    settings.putString(sections::Config, "Recent Folder", "/recent");
    command(CommandId::CaptionSyncEarlier);

    prompter.answer = {};  // cancelled
    command(CommandId::OpenCaptionFile);
    EXPECT_FALSE(prompter.playingWhileOpen);
    EXPECT_TRUE(host.flags.playing);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].folder, "/recent");

    const std::string other = freshDir("chosen") + "/other.smi";
    writeFile(other, "<SYNC Start=1000><P>other\n");
    prompter.answer = {other};
    command(CommandId::OpenCaptionFile);
    EXPECT_EQ(captions.syncOffset(), 0);
    EXPECT_TRUE(host.flags.captionsLoaded);
    EXPECT_TRUE(host.flags.playing);
    command(CommandId::CaptionFileView);
    EXPECT_EQ(desktop.editedFiles.back(), other);

    // A file that cannot be read turns captions off and takes the caption off the picture.
    captions.lookup(1.0);
    ASSERT_FALSE(canvas.shown.empty());
    prompter.answer = {first + ".missing"};
    command(CommandId::OpenCaptionFile);
    EXPECT_FALSE(host.flags.captionsLoaded);
    EXPECT_TRUE(canvas.shown.empty());

    // A paused medium stays paused; without a medium there is no dialog.
    host.flags.playing = false;
    host.flags.paused = true;
    prompter.answer = {};
    command(CommandId::OpenCaptionFile);
    EXPECT_TRUE(host.flags.paused);
    host.flags.loaded = false;
    command(CommandId::OpenCaptionFile);
    EXPECT_EQ(prompter.asked.size(), 4u);
}

TEST_F(CaptionControllerTest, ReparsingTakesTheNewDivideLength) {
    load("<SAMI><BODY><SYNC Start=1000><P>aaaa bbbb cccc\n</BODY></SAMI>");
    captions.lookup(1.0);
    EXPECT_EQ(canvas.shown.lines.size(), 1u);
    settings.putInt(sections::Caption, "Caption Divide Length", 8);
    captions.reparse();
    EXPECT_TRUE(canvas.shown.empty());
    captions.lookup(1.0);
    EXPECT_EQ(canvas.shown.lines.size(), 2u);
}

TEST_F(CaptionControllerTest, AFileReadInAChosenEncodingIsReadSoAgainLater) {
    const std::string dir = freshDir("encodings");
    CaptionEncodingStore store(dir + "/CaptionEncodings.txt");
    CaptionController reader{
        {host, style, settings, timers, canvas, prompter, desktop, &osd, &tracks, &store}};
    // Japanese in EUC-JP, which is also valid CP949 byte for byte.
    const std::string path = dir + "/film.smi";
    writeFile(path,
              "<SAMI><BODY><SYNC Start=1000><P Class=JPCC>"
              "\xa4\xb3\xa4\xf3\xa4\xcb\xa4\xc1\xa4\xcf\n</BODY></SAMI>\n");
    reader.loadDropped(path);
    ASSERT_TRUE(host.flags.captionsLoaded);
    EXPECT_FALSE(reader.captionEncoding().chosen);

    reader.rereadCaptionFile(text::Encoding::EucJp);
    EXPECT_EQ(reader.model().cell(0, 10), "F3E2C1|こんにちは");
    EXPECT_EQ(osd.last(), "자막 인코딩 : EUC-JP");
    EXPECT_TRUE(reader.captionEncoding().chosen);
    EXPECT_EQ(store.encodingOf(path), text::Encoding::EucJp);

    // The next start reads the file in the encoding chosen for it; other files as they show.
    CaptionController later{
        {host, style, settings, timers, canvas, prompter, desktop, &osd, &tracks, &store}};
    later.loadDropped(path);
    EXPECT_EQ(later.model().cell(0, 10), "F3E2C1|こんにちは");
    EXPECT_EQ(later.captionEncoding().encoding, text::Encoding::EucJp);
    later.rereadCaptionFile(std::nullopt);
    EXPECT_FALSE(later.captionEncoding().chosen);
    EXPECT_EQ(store.encodingOf(path), std::nullopt);
}

TEST_F(CaptionControllerTest, SubRipAndWebVttNamesAreLookedForAfterEverySamiName) {
    const std::string movies = freshDir("movies-timed");
    const std::string e = freshDir("subs-timed");
    useCaptionFolders({e});
    auto found = [&] { return shownFor(movies + "/film.mkv"); };
    EXPECT_EQ(found(), "");
    writeFile(movies + "/film.vtt", "WEBVTT\n\n00:01.000 --> 00:02.000\nvtt beside\n");
    EXPECT_EQ(found(), "vtt beside");
    writeFile(movies + "/film.srt", srt("srt beside"));
    EXPECT_EQ(found(), "srt beside");
    writeFile(e + "/film.vtt", "WEBVTT\n\n00:01.000 --> 00:02.000\nvtt in folder\n");
    EXPECT_EQ(found(), "srt beside");  // every SubRip name before any WebVTT name
    writeFile(e + "/film.srt", srt("srt in folder"));
    EXPECT_EQ(found(), "srt in folder");
    writeFile(movies + "/film.smi", "<SYNC Start=1000><P>smi beside\n");
    EXPECT_EQ(found(), "smi beside");
    // The file last looked for is the one the dialog starts beside.
    EXPECT_EQ(captions.model().captionPath, movies + "/film.smi");
}

TEST_F(CaptionControllerTest, SubRipAndWebVttFilesTakeTheCaptionCommandsLikeSami) {
    const std::string path = freshDir("drop-srt") + "/film.ko.srt";
    writeFile(path, "1\n00:00:10,000 --> 00:00:12,000\n<font color=\"#ff0000\">빨간 자막</font>\n");
    captions.loadDropped(path);
    ASSERT_TRUE(host.flags.captionsLoaded);
    command(CommandId::CaptionSyncEarlier);
    captions.lookup(9.5);
    ASSERT_EQ(canvas.shown.lines.size(), 1u);
    EXPECT_EQ(canvas.shown.lines[0].colour, 0x0000FFu);  // red, as 0x00BBGGRR
    command(CommandId::CaptionLanguage);
    EXPECT_EQ(osd.last(), "자막 언어 : 한글");  // from the file's name
    EXPECT_TRUE(tracks.log.empty());            // the file's captions are ours alone

    const std::string vtt = freshDir("chosen-vtt") + "/other.vtt";
    writeFile(vtt, "WEBVTT\n\n00:01.000 --> 00:02.000\nfrom vtt\n");
    prompter.answer = {vtt};
    command(CommandId::OpenCaptionFile);
    captions.lookup(1.0);
    EXPECT_EQ(canvas.shown.lines.at(0).text, "from vtt");
}

TEST_F(CaptionControllerTest, WithoutACaptionFileTheMediumsKoreanTrackIsDrawnAndCommandsWorkOnIt) {
    ASSERT_EQ(tracks.listener, &captions);
    EXPECT_FALSE(captions.findCaptionFile(freshDir("clips") + "/clip.mkv"));
    EXPECT_TRUE(tracks.log.empty());  // no tracks known yet
    const std::vector<SubtitleTrack> list{track(1, "eng", "Full"), track(2, "kor", "대사"),
                                          track(3, "jpn")};
    tracks.listener->subtitleTracksChanged(list);
    EXPECT_EQ(captions.embeddedTrack(), 2);
    EXPECT_EQ(tracks.log, (std::vector<std::string>{"visible", "delay 0", "select 2"}));
    // The list again, with the selection marked: nothing more to ask.
    std::vector<SubtitleTrack> marked = list;
    marked[1].selected = true;
    tracks.listener->subtitleTracksChanged(marked);
    EXPECT_EQ(tracks.log.size(), 3u);

    tracks.log.clear();
    for (int i = 0; i < 3; ++i) command(CommandId::CaptionLanguage);
    EXPECT_EQ(osd.shown, (std::vector<std::string>{"자막 언어 : 일어", "자막 언어 : 영어 (Full)",
                                                   "자막 언어 : 한글 (대사)"}));
    EXPECT_EQ(selections(tracks.log),
              (std::vector<std::string>{"select 3", "select 1", "select 2"}));

    tracks.log.clear();
    command(CommandId::CaptionHide);
    command(CommandId::CaptionHide);
    command(CommandId::CaptionSyncLater);
    EXPECT_EQ(osd.last(), "자막 싱크 : 0.5초 느림");
    command(CommandId::CaptionSyncReset);
    captions.setSyncOffset(30);  // read back after the settings sheet
    EXPECT_EQ(tracks.log,
              (std::vector<std::string>{"hidden", "visible", "delay 0.5", "delay 0", "delay -3"}));
    // Our own drawing stays empty: the framework draws the track.
    captions.lookup(1.0);
    EXPECT_TRUE(canvas.shown.empty());

    // A caption file dropped now wins over the track.
    tracks.log.clear();
    const std::string path = freshDir("drop-over-track") + "/film.srt";
    writeFile(path, "00:00:01,000 --> 00:00:02,000\nfile\n");
    captions.loadDropped(path);
    EXPECT_EQ(tracks.log, (std::vector<std::string>{"select 0"}));
    EXPECT_EQ(captions.embeddedTrack(), 0);
    tracks.listener->subtitleTracksChanged(marked);
    EXPECT_EQ(tracks.log.size(), 1u);
    // The file has one language: the next ones are the tracks'.
    command(CommandId::CaptionLanguage);
    EXPECT_EQ(osd.last(), "자막 언어 : 영어 (Full)");
    EXPECT_EQ(captions.embeddedTrack(), 1);
}

TEST_F(CaptionControllerTest, ATextTracksTextIsDrawnAsCaptionsWithEveryCaptionCommand) {
    host.flags.captionsLoaded = captions.findCaptionFile(freshDir("text-track") + "/clip.mkv");
    tracks.listener->subtitleTracksChanged(
        {track(1, "eng", "", "subrip"), track(2, "kor", "", "mov_text"), track(3, "jpn")});
    EXPECT_EQ(tracks.log, (std::vector<std::string>{"hidden", "delay 0", "select 2"}));
    EXPECT_TRUE(captions.trackDrawnAsCaptions());
    EXPECT_TRUE(host.flags.captionsLoaded);

    // The framework's text, markup and all, becomes display lines in the caption colour.
    style.fontColor = 0x00FFFF;
    tracks.listener->subtitleTextChanged("안녕하세요\n<i>a < b</i>");
    ASSERT_EQ(canvas.shown.lines.size(), 2u);
    EXPECT_EQ(canvas.shown.lines[0].text, "안녕하세요");
    EXPECT_EQ(canvas.shown.lines[1].text, "a < b");
    EXPECT_EQ(canvas.shown.lines[1].colour, 0x00FFFFu);
    const int top = canvas.shown.lines[0].rect.top;
    command(CommandId::CaptionUp);
    EXPECT_LT(canvas.shown.lines[0].rect.top, top);
    // The playback tick does not touch it; a seek keeps it until the framework says more.
    captions.lookup(100.0);
    captions.afterSeek(3.0);
    EXPECT_EQ(canvas.shown.lines.size(), 2u);
    tracks.log.clear();
    command(CommandId::CaptionSyncEarlier);
    EXPECT_EQ(tracks.log, (std::vector<std::string>{"delay -0.5"}));
    tracks.listener->subtitleTextChanged("");
    EXPECT_TRUE(canvas.shown.empty());
    // Two languages: the English text track's text above the Korean.
    tracks.listener->subtitleTextChanged("안녕하세요");
    tracks.log.clear();
    command(CommandId::CaptionTwoLanguages);
    EXPECT_EQ(tracks.log, (std::vector<std::string>{"second 1"}));
    EXPECT_EQ(osd.last(), "두 언어 자막 : 한글 + 영어");
    tracks.listener->secondSubtitleTextChanged("Hello");
    ASSERT_EQ(canvas.shown.lines.size(), 2u);
    EXPECT_EQ(canvas.shown.lines[1].text, "Hello");
    EXPECT_LT(canvas.shown.lines[1].rect.bottom, canvas.shown.lines[0].rect.top);
    command(CommandId::CaptionTwoLanguages);
    EXPECT_EQ(canvas.shown.lines.size(), 1u);

    // A huge cue is cut to what a screen shows.
    tracks.listener->subtitleTextChanged(std::string(10000, 'x') + "\n" + std::string(50, '\n'));
    EXPECT_LE(canvas.shown.lines.size(), static_cast<std::size_t>(kMaxCaptionLines));

    // A styled track goes to the framework, unless styles are ignored.
    tracks.log.clear();
    command(CommandId::CaptionLanguage);
    EXPECT_EQ(tracks.log, (std::vector<std::string>{"visible", "delay -0.5", "select 3"}));
    EXPECT_FALSE(captions.trackDrawnAsCaptions());
    EXPECT_FALSE(host.flags.captionsLoaded);
    EXPECT_TRUE(canvas.shown.empty());
    tracks.listener->subtitleTextChanged("styled");
    EXPECT_TRUE(canvas.shown.empty());
    command(CommandId::CaptionIgnoreStyle);
    EXPECT_EQ(settings.getInt(sections::Caption, "Ignore Subtitle Style", 0), 1);
    EXPECT_TRUE(captions.trackDrawnAsCaptions());
    tracks.listener->subtitleTextChanged("styled");
    EXPECT_EQ(canvas.shown.lines.at(0).text, "styled");

    // Another medium: nothing of this track's text stays.
    tracks.listener->subtitleTracksChanged({});
    EXPECT_TRUE(canvas.shown.empty());
    EXPECT_FALSE(host.flags.captionsLoaded);
}

TEST_F(CaptionControllerTest, CaptionFilesByLanguageKoreanFirstThenEnglishThenTheRestThenTracks) {
    const std::string dir = freshDir("by-language");
    const std::string folder = freshDir("by-language-folder");
    writeFile(dir + "/film.en.srt", srt("english"));
    writeFile(dir + "/film.Korean.srt", srt("korean"));
    writeFile(folder + "/film.ko.smi", "<SYNC Start=1000><P Class=KRCC>한국어");
    writeFile(dir + "/film.de.srt", srt("deutsch"));
    writeFile(dir + "/film.ja.srt", "");  // holds nothing: passed over
    writeFile(dir + "/film 'x;\"$.fr.srt", srt("other title"));
    writeFile(dir + "/other.ko.srt", srt("other medium"));
    useCaptionFolders({folder});

    host.flags.captionsLoaded = captions.findCaptionFile(dir + "/film.mkv");
    ASSERT_TRUE(host.flags.captionsLoaded);
    EXPECT_EQ(captions.model().captionPath, folder + "/film.ko.smi");
    tracks.listener->subtitleTracksChanged({track(7, "kor", "대사")});
    EXPECT_EQ(captions.embeddedTrack(), 0);

    for (int i = 0; i < 5; ++i) command(CommandId::CaptionLanguage);
    EXPECT_EQ(osd.shown,
              (std::vector<std::string>{"자막 언어 : 한글", "자막 언어 : 영어", "자막 언어 : de",
                                        "자막 언어 : 한글 (대사)", "자막 언어 : 한글"}));
    EXPECT_EQ(captions.model().captionPath, folder + "/film.ko.smi");
    EXPECT_EQ(captions.embeddedTrack(), 0);
    EXPECT_EQ(selections(tracks.log), (std::vector<std::string>{"select 7", "select 0"}));
    captions.lookup(1.0);
    EXPECT_EQ(captions.model().currentCaption, "F3E2C1|한국어");
}

TEST_F(CaptionControllerTest, TwoLanguagesOfOneFileOrOfTwoFilesAtOnce) {
    load();
    settings.putInt(sections::Caption, "Second Caption Synch", -10);  // the second 1 s later
    command(CommandId::CaptionTwoLanguages);
    EXPECT_EQ(osd.last(), "두 언어 자막 : 한글 + 영어");
    captions.lookup(1.0);
    ASSERT_EQ(canvas.shown.lines.size(), 1u);
    EXPECT_EQ(canvas.shown.lines[0].text, "하나");
    captions.lookup(2.0);
    ASSERT_EQ(canvas.shown.lines.size(), 2u);
    EXPECT_EQ(canvas.shown.lines[1].text, "one");
    EXPECT_EQ(canvas.shown.lines[1].points, 16);  // four points under the caption's 20
    EXPECT_EQ(canvas.shown.lines[1].colour, 0x00FFFFu);
    EXPECT_LT(canvas.shown.lines[1].rect.bottom, canvas.shown.lines[0].rect.top);
    // The language command turns both: English first, Korean second.
    command(CommandId::CaptionLanguage);
    captions.afterSeek(2.5);
    EXPECT_EQ(canvas.shown.lines.at(0).text, "one");
    EXPECT_EQ(canvas.shown.lines.at(1).text, "하나");
    command(CommandId::CaptionTwoLanguages);
    EXPECT_EQ(osd.last(), "두 언어 자막 : 끔");
    EXPECT_EQ(canvas.shown.lines.size(), 1u);

    // One language per file: the second comes from the medium's other file.
    const std::string dir = freshDir("two-files");
    writeFile(dir + "/film.ko.srt", srt("한국어"));
    writeFile(dir + "/film.en.srt", srt("English"));
    settings.putInt(sections::Caption, "Second Caption Synch", 0);
    host.flags.captionsLoaded = captions.findCaptionFile(dir + "/film.mkv");
    command(CommandId::CaptionTwoLanguages);
    EXPECT_EQ(osd.last(), "두 언어 자막 : 한글 + 영어");
    captions.lookup(1.0);
    EXPECT_EQ(texts(canvas.shown), (std::vector<std::string>{"한국어", "English"}));
}

TEST_F(CaptionControllerTest, ACaptionFileWithoutCaptionsGivesTheTrackBackAndSaysSo) {
    const std::string dir = freshDir("empty-file");
    tracks.listener->subtitleTracksChanged({track(1, "kor")});
    for (const char* bytes : {"", "<SAMI><BODY><P>no sync</BODY></SAMI>", "\x01\x02 garbage",
                              "<SYNC Start=1000><P Class=KRCC>&nbsp;"}) {
        writeFile(dir + "/clip.smi", bytes);
        tracks.log.clear();
        osd.shown.clear();
        EXPECT_FALSE(captions.findCaptionFile(dir + "/clip.mkv")) << bytes;
        EXPECT_EQ(captions.embeddedTrack(), 1);
        EXPECT_EQ(osd.shown, std::vector<std::string>{std::string(kEmptyCaptionFileMessage)});
    }
    // An empty file beside the medium does not hide a real one found after it.
    writeFile(dir + "/clip.srt", srt("file"));
    osd.shown.clear();
    EXPECT_TRUE(captions.findCaptionFile(dir + "/clip.mkv"));
    EXPECT_TRUE(osd.shown.empty());
    EXPECT_EQ(captions.embeddedTrack(), 0);

    // Dropped or chosen, it turns the file's captions off the same way.
    host.flags.captionsLoaded = true;
    captions.loadDropped(dir + "/clip.smi");
    EXPECT_FALSE(host.flags.captionsLoaded);
    EXPECT_EQ(captions.embeddedTrack(), 1);
    EXPECT_EQ(osd.last(), kEmptyCaptionFileMessage);
}

TEST_F(CaptionControllerTest, TrackListsOfNoMediumOrOfAClosedOneChooseNothing) {
    // A stream gets no caption lookup: its tracks are drawn as soon as they are known.
    EXPECT_FALSE(captions.findCaptionFile("http://example.invalid/live.mkv"));
    tracks.listener->subtitleTracksChanged({track(4, "")});
    EXPECT_EQ(captions.embeddedTrack(), 4);
    EXPECT_EQ(osd.shown.size(), 0u);

    // Another medium asked for: the list empties and the commands find no track.
    tracks.listener->subtitleTracksChanged({});
    EXPECT_EQ(captions.embeddedTrack(), 0);
    tracks.log.clear();
    command(CommandId::CaptionLanguage);
    EXPECT_EQ(osd.last(), "자막 언어 : 없음");
    command(CommandId::CaptionHide);
    command(CommandId::CaptionSyncEarlier);
    EXPECT_TRUE(style.showCaption);
    EXPECT_EQ(captions.syncOffset(), 0);
    EXPECT_TRUE(tracks.log.empty());

    // Closed: a late list of the old medium is kept but draws nothing.
    captions.unload();
    host.flags.loaded = false;
    tracks.listener->subtitleTracksChanged({track(1, "kor")});
    EXPECT_EQ(captions.embeddedTrack(), 0);
    EXPECT_TRUE(tracks.log.empty());
}

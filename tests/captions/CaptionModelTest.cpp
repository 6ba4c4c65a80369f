#include <gtest/gtest.h>

#include "base/SettingsKeys.h"
#include "base/TextCodec.h"
#include "captions/CaptionEncodings.h"
#include "captions/CaptionModel.h"
#include "support/TestSupport.h"

using namespace orvalis;

namespace {

const std::string kFile =
    "<SAMI><BODY>\n"
    "<SYNC Start=300><P Class=KRCC>&nbsp;\n"
    "<SYNC Start=400><P Class=KRCC>early\n"
    "<SYNC Start=1000><P Class=KRCC>하나<P Class=ENCC>one\n"
    "<SYNC Start=3000><P Class=KRCC>&nbsp;<P Class=ENCC>&nbsp;\n"
    "<SYNC Start=12300><P Class=KRCC>둘\n"
    "<SYNC Start=20000><P Class=KRCC>&nbsp;\n"
    "</BODY></SAMI>\n";

// The step of one playback tick, after which the caption is drawn when asked for.
CaptionStep tickAndDraw(CaptionModel& model, double seconds) {
    CaptionStep step = model.tick(seconds);
    if (step.redraw) model.lastDrawnCaption = model.currentCaption;
    return step;
}

}  // namespace

TEST(CaptionModel, TickLooksAtTheSlotAndItsNeighbours) {
    CaptionModel model;
    model.parseBytes(kFile);
    ASSERT_EQ(model.lastSlot(), 200);

    CaptionStep step = tickAndDraw(model, 0.95);  // slot 9: its neighbour 10 is due
    EXPECT_EQ(step.caption, "F3E2C1|하나");
    EXPECT_TRUE(step.redraw);
    EXPECT_EQ(step.holdMilliseconds, CaptionModel::kHoldMilliseconds);
    step = tickAndDraw(model, 1.05);  // the same text again: held, not drawn
    EXPECT_FALSE(step.redraw);
    EXPECT_EQ(step.holdMilliseconds, CaptionModel::kHoldMilliseconds);
    step = tickAndDraw(model, 1.55);  // nothing near: nothing changes
    EXPECT_EQ(step.caption, "F3E2C1|하나");
    EXPECT_FALSE(step.redraw);
    EXPECT_EQ(step.holdMilliseconds, 0);
    step = tickAndDraw(model, 3.0);  // the end mark clears it
    EXPECT_EQ(step.caption, "");
    EXPECT_TRUE(step.redraw);
    EXPECT_EQ(step.holdMilliseconds, 0);
    for (double at : {12.25, 12.35}) EXPECT_EQ(tickAndDraw(model, at).caption, "F3E2C1|둘");

    // An end mark followed by text in the next slot: cleared, then the text.
    model.clearCaptionTexts();
    model.lastDrawnCaption = "F3E2C1|early";
    step = model.tick(0.3);
    EXPECT_EQ(step.caption, "F3E2C1|early");
    EXPECT_TRUE(step.redraw);  // it was erased on the way

    // Before the first slot and after the last, nothing happens; the last slot is reached.
    model.currentCaption = "kept";
    for (double at : {-1.0, 20.1, 1e300}) EXPECT_EQ(model.tick(at).caption, "kept") << at;
    EXPECT_EQ(model.tick(20.0).caption, "");

    // A negative offset shows the captions later (the language round is the controller's).
    model.clearCaptionTexts();
    model.syncOffset = -5;
    EXPECT_EQ(model.tick(1.0).caption, "F3E2C1|early");
    EXPECT_EQ(model.tick(1.5).caption, "F3E2C1|하나");

    // A caption at the very start is still found by a tick in the second tenth of a second.
    CaptionModel first;
    first.parseBytes("<SAMI><BODY><SYNC Start=0><P Class=KRCC>처음\n"
                     "<SYNC Start=2000><P Class=KRCC>&nbsp;\n</BODY></SAMI>\n");
    EXPECT_EQ(first.tick(0.15).caption, "F3E2C1|처음");
}

TEST(CaptionModel, RecoveryAfterASeek) {
    CaptionModel model;
    model.parseBytes(kFile);
    model.syncOffset = 100;  // not applied when recovering
    // 3 s into a caption it shows again; an ended one too, since end marks are passed over.
    for (double at : {4.0, 5.9}) {
        model.clearCaptionTexts();
        CaptionStep step = model.recoverAfterSeek(at);
        EXPECT_EQ(model.currentCaption, "F3E2C1|하나") << at;
        EXPECT_TRUE(step.redraw);
        EXPECT_EQ(step.holdMilliseconds, CaptionModel::kRecoveryHoldMilliseconds);
    }
    // 6 s after it started, or with nothing before: nothing is shown.
    for (double at : {6.1, 0.3, 0.0, 500.0}) {
        model.clearCaptionTexts();
        CaptionStep step = model.recoverAfterSeek(at);
        EXPECT_EQ(model.currentCaption, "") << at;
        EXPECT_FALSE(step.redraw);
        EXPECT_EQ(step.holdMilliseconds, 0);
    }
    model.clearCaptionTexts();
    model.recoverAfterSeek(0.5);
    EXPECT_EQ(model.currentCaption, "F3E2C1|early");
}

TEST(CaptionModel, ParseCaptionFileKeepsTheModelWhenItFails) {
    const std::string dir = test::freshDir("captions");
    test::writeFile(dir + "/film.smi", "<SYNC Start=100>one two three four five");
    test::MemorySettingsStore settings;
    CaptionModel model;
    model.parseBytes(kFile);
    model.cycleLanguage();
    for (const std::string& path : {std::string(), dir + "/missing.smi", dir}) {
        EXPECT_FALSE(model.parseCaptionFile(path, settings)) << path;
        EXPECT_EQ(model.cell(0, 10), "F3E2C1|하나");
        EXPECT_EQ(model.activeLanguage(), 1);
    }
    settings.putInt(sections::Caption, "Caption Divide Length", 10);
    ASSERT_TRUE(model.parseCaptionFile(dir + "/film.smi", settings));
    EXPECT_EQ(model.activeLanguage(), 0);
    EXPECT_EQ(model.languageCodes(), std::vector<std::string>{"알 수 없음"});
    EXPECT_EQ(model.cell(0, 1), "F3E2C1|one two three\nF3E2C1|four five");
}

TEST(CaptionEncodingStore, KeepsTheLatestFilesAndSkipsDamagedLines) {
    const std::string file = test::freshDir("encoding-store") + "/CaptionEncodings.txt";
    std::string lines = "\x01garbage\nKOI8-R\t/a.smi\nBig5\t\n";
    for (std::size_t i = 0; i < CaptionEncodingStore::kMaxFiles; ++i)
        lines += "Shift-JIS\t/f" + std::to_string(i) + ".smi\n";
    test::writeFile(file, lines);
    CaptionEncodingStore store(file);
    EXPECT_EQ(store.encodingOf("/f0.smi"), text::Encoding::ShiftJis);
    EXPECT_EQ(store.encodingOf("/a.smi"), std::nullopt);
    EXPECT_TRUE(store.remember("/new\tname.smi", text::Encoding::Big5));
    EXPECT_EQ(store.encodingOf("/new\tname.smi"), text::Encoding::Big5);
    EXPECT_EQ(store.encodingOf("/f498.smi"), text::Encoding::ShiftJis);
    EXPECT_EQ(store.encodingOf("/f499.smi"), std::nullopt);  // the oldest forgotten
    EXPECT_FALSE(store.remember("/line\nbreak.smi", text::Encoding::Big5));
    EXPECT_FALSE(
        CaptionEncodingStore(file + "/under-a-file").remember("/x.smi", text::Encoding::Cp949));
}

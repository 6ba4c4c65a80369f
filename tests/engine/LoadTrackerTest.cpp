// The order of libmpv's answers to a load varies from run to run; these are the orders it
// has been seen to use, and the events of loads replaced meanwhile.
#include <gtest/gtest.h>

#include "engine/LoadTracker.h"

using namespace orvalis;
using Kind = LoadTracker::Step::Kind;
using Phase = LoadTracker::Phase;

TEST(LoadTracker, ALoadIsProbedOnceItsEntryLoadedWhicheverCameFirst) {
    LoadTracker replyFirst;
    replyFirst.begin();
    EXPECT_EQ(replyFirst.replied(7).kind, Kind::None);
    replyFirst.started(7);
    EXPECT_EQ(replyFirst.loaded().kind, Kind::Probe);
    EXPECT_EQ(replyFirst.phase(), Phase::Probing);

    LoadTracker eventsFirst;
    eventsFirst.begin();
    eventsFirst.started(7);
    EXPECT_EQ(eventsFirst.loaded().kind, Kind::None);
    EXPECT_EQ(eventsFirst.replied(7).kind, Kind::Probe);
    // A reply that names no entry means the one started last.
    LoadTracker unnamed;
    unnamed.begin();
    unnamed.started(3);
    unnamed.loaded();
    EXPECT_EQ(unnamed.replied(std::nullopt).kind, Kind::Probe);
}

TEST(LoadTracker, OnlyOurEntrysFailureFailsTheLoad) {
    LoadTracker t;
    t.begin();
    EXPECT_EQ(t.replied(std::nullopt, "unrecognized file format"),
              (LoadTracker::Step{Kind::Fail, "unrecognized file format"}));
    EXPECT_EQ(t.phase(), Phase::Idle);

    // The replaced medium stops, another entry fails before the reply, then ours fails.
    t.begin();
    EXPECT_EQ(t.ended(4, true, {}).kind, Kind::None);
    t.started(5);
    t.ended(5, false, "loading failed");
    EXPECT_EQ(t.replied(6).kind, Kind::None);
    t.started(6);
    EXPECT_EQ(t.ended(6, false, "no audio or video data played"),
              (LoadTracker::Step{Kind::Fail, "no audio or video data played"}));

    // Failed before the reply, known once the reply names it.
    t.begin();
    t.started(8);
    t.ended(8, false, "network error");
    EXPECT_EQ(t.replied(8), (LoadTracker::Step{Kind::Fail, "network error"}));
}

TEST(LoadTracker, APictureWaitsForItsSizeAndTheMediumsEndIsToldOnce) {
    LoadTracker t;
    t.begin();
    t.replied(2);
    t.started(2);
    t.loaded();
    EXPECT_EQ(t.probed(true).kind, Kind::None);
    EXPECT_EQ(t.phase(), Phase::WaitingForSize);
    // A stream that cannot be read fails while its picture is awaited.
    LoadTracker broken = t;
    EXPECT_EQ(broken.ended(2, false, "no audio or video data played").kind, Kind::Fail);

    EXPECT_EQ(t.sized().kind, Kind::Finish);
    EXPECT_EQ(t.sized().kind, Kind::None);  // the size timer, late
    // Played out, or broken off: the medium's end. Stopped by the next load: nothing.
    EXPECT_EQ(t.ended(2, false, {}).kind, Kind::Ended);
    EXPECT_EQ(t.ended(2, false, "network error").kind, Kind::Ended);
    EXPECT_EQ(t.ended(2, true, {}).kind, Kind::None);
    EXPECT_EQ(t.ended(1, false, {}).kind, Kind::None);
    t.cancel();
    EXPECT_EQ(t.ended(2, false, {}).kind, Kind::None);
    EXPECT_EQ(t.loaded().kind, Kind::None);
}

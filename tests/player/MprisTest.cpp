// The media-player interface's rules without D-Bus: what clients read, what their calls turn
// into among the player's commands, and the calls it refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "player/Mpris.h"
#include "support/TestSupport.h"

namespace orvalis::mpris {
namespace {

class FakePort final : public PlayerPort {
public:
    PlayerState state() const override { return s; }
    void run(Request r) override {
        requests.push_back(r);
        // The few commands whose effect later steps of one call read.
        if (r == Request::RepeatItem) s.repeatItem = !s.repeatItem;
        if (r == Request::Mute) s.muted = !s.muted;
    }
    void seekTo(double seconds) override { seeks.push_back(seconds); }
    void setRepeatList(bool on) override {
        s.repeatList = on;
        repeatListSets.push_back(on);
    }
    bool open(const std::string& target) override {
        opened.push_back(target);
        return true;
    }
    void raise() override { ++raises; }

    PlayerState s;
    std::vector<Request> requests;
    std::vector<double> seeks;
    std::vector<bool> repeatListSets;
    std::vector<std::string> opened;
    int raises = 0;
};

// A medium of 100 s, playing at 30 s, with a list to go on with.
PlayerState playing() {
    PlayerState s;
    s.loaded = s.playing = true;
    s.listEmpty = false;
    s.position = 30;
    s.duration = 100;
    s.track = 3;
    s.location = "/media/영화 모음/a b#1.mkv";
    s.volumeStep = 5;
    return s;
}

Call method(std::string member, std::string signature = "", std::vector<Argument> args = {}) {
    return {kPlayerInterface, std::move(member), std::move(signature), std::move(args)};
}

Call setProperty(std::string name, Argument value, std::string interface = kPlayerInterface) {
    return {kPropertiesInterface,
            "Set",
            "ssv",
            {std::move(interface), std::move(name), std::move(value)}};
}

Value getValue(PlayerObject& object, const char* interface, const char* name) {
    Reply r = object.handle(
        {kPropertiesInterface, "Get", "ss", {std::string(interface), std::string(name)}});
    EXPECT_EQ(r.kind, Reply::Kind::Value) << r.errorName << " " << r.errorMessage;
    return r.value;
}

// --- what clients read ------------------------------------------------------------------

TEST(MprisMapping, StatusLoopAndVolumeFollowThePlayer) {
    PlayerState s;
    EXPECT_EQ(playbackStatus(s), "Stopped");
    s.opening = true;  // the next item on its way in is not a stop
    EXPECT_EQ(playbackStatus(s), "Playing");
    s = playing();
    EXPECT_EQ(playbackStatus(s), "Playing");
    s.playing = false;
    s.paused = true;
    EXPECT_EQ(playbackStatus(s), "Paused");
    s.paused = false;
    EXPECT_EQ(playbackStatus(s), "Stopped");

    EXPECT_EQ(loopStatus(s), "None");
    s.repeatList = true;
    EXPECT_EQ(loopStatus(s), "Playlist");
    s.repeatItem = true;  // the item repeats whatever the list does
    EXPECT_EQ(loopStatus(s), "Track");

    s.volumeStep = 19;
    EXPECT_DOUBLE_EQ(volumeOf(s), 1.0);
    s.volumeStep = 0;
    EXPECT_DOUBLE_EQ(volumeOf(s), 0.0);
    s.volumeStep = 10;
    s.muted = true;
    EXPECT_DOUBLE_EQ(volumeOf(s), 0.0);
    EXPECT_EQ(stepForVolume(0.5, 19), 10);
    EXPECT_EQ(stepForVolume(-3, 19), 0);
    EXPECT_EQ(stepForVolume(7, 19), 19);
}

TEST(MprisMapping, RatesBecomeHalvingsAndDoublingsWithinTheLimits) {
    using R = Request;
    EXPECT_EQ(rateRequests(1, 2, 0.25, 16), (std::vector<R>{R::RateDouble}));
    EXPECT_EQ(rateRequests(1, 1.3, 0.25, 16), (std::vector<R>{}));
    EXPECT_EQ(rateRequests(8, 1, 0.25, 16), (std::vector<R>{R::RateNormal}));
    EXPECT_EQ(rateRequests(4, 0.3, 0.25, 16), (std::vector<R>(4, R::RateHalf)));
    EXPECT_EQ(rateRequests(1, 1e300, 0.25, 16), (std::vector<R>(4, R::RateDouble)));
    EXPECT_EQ(rateRequests(1, 1e-300, 0.25, 16), (std::vector<R>(2, R::RateHalf)));
    EXPECT_EQ(rateRequests(0.75, 2, 0.25, 16), (std::vector<R>{R::RateNormal, R::RateDouble}));
    EXPECT_TRUE(rateRequests(1, 0, 0.25, 16).empty());
}

TEST(MprisMapping, MetadataNamesTheMediumAndItsTrack) {
    PlayerState s = playing();
    Metadata m = metadataOf(s);
    EXPECT_EQ(m.trackId, "/org/orvalis/Track/3");
    EXPECT_EQ(m.length, 100'000'000);
    EXPECT_EQ(m.title, "a b#1.mkv");  // no title tag: the file's name, as the player shows it
    EXPECT_EQ(m.url, "file:///media/%EC%98%81%ED%99%94%20%EB%AA%A8%EC%9D%8C/a%20b%231.mkv");
    EXPECT_EQ(localPathOf(m.url), s.location);
    EXPECT_TRUE(m.artists.empty());

    s.title = "Song";
    s.artist = "Singer";
    s.album = "Album";
    s.artUrl = "file:///cache/cover.png";
    m = metadataOf(s);
    EXPECT_EQ(m.title, "Song");
    EXPECT_EQ(m.artists, (std::vector<std::string>{"Singer"}));
    EXPECT_EQ(m.album, "Album");
    EXPECT_EQ(m.artUrl, "file:///cache/cover.png");

    s.location = "http://radio.example/live?x=1;y";
    s.duration = 0;  // a live stream has no length
    s.title.clear();
    m = metadataOf(s);
    EXPECT_EQ(m.url, "http://radio.example/live?x=1;y");
    EXPECT_EQ(m.length, -1);

    Metadata none;
    none.trackId = kNoTrack;
    EXPECT_EQ(metadataOf(PlayerState{}), none);
}

TEST(MprisMapping, FileUrlsNameLocalFilesOnly) {
    EXPECT_EQ(localPathOf("FILE://localhost/tmp/x.avi"), "/tmp/x.avi");
    EXPECT_EQ(localPathOf("file:///tmp/x.avi?query#frag"), "/tmp/x.avi");
    EXPECT_EQ(localPathOf("file:///tmp/100%"), "/tmp/100%");  // a stray % stays itself
    EXPECT_FALSE(localPathOf("file://server/share/x.avi"));
    EXPECT_FALSE(localPathOf("file:///tmp/a%00b"));
    EXPECT_FALSE(localPathOf("file:///tmp/%FF%FE"));  // not UTF-8
    EXPECT_FALSE(localPathOf("file:relative/x.avi"));
    EXPECT_FALSE(localPathOf("http:///tmp/x"));
}

TEST(MprisMapping, OpenUriTakesFilesThatExistAndAddressesItCanPlay) {
    const std::string dir = test::freshDir("open-uri");
    test::writeFile(dir + "/clip one.mp4", "x");
    EXPECT_EQ(openTargetOf(fileUrl(dir + "/clip one.mp4")).target, dir + "/clip one.mp4");
    EXPECT_EQ(openTargetOf(dir + "/clip one.mp4").target, dir + "/clip one.mp4");
    EXPECT_EQ(openTargetOf("https://example.org/a.mp4").target, "https://example.org/a.mp4");
    EXPECT_EQ(openTargetOf("RTSP://cam/1").target, "RTSP://cam/1");

    auto refused = [](std::string_view uri) { return openTargetOf(uri).errorName; };
    EXPECT_EQ(refused(fileUrl(dir + "/missing.mp4")), "org.freedesktop.DBus.Error.FileNotFound");
    EXPECT_EQ(refused(fileUrl(dir)), "org.freedesktop.DBus.Error.FileNotFound");  // a folder
    EXPECT_EQ(refused("javascript:alert(1)"), "org.freedesktop.DBus.Error.NotSupported");
    EXPECT_EQ(refused("smb://host/share/x.avi"), "org.freedesktop.DBus.Error.NotSupported");
    for (std::string garbage : {"", "not a uri", "http:", "http://", "http:/x", "http://a\nb",
                                "\x01\x02", "file://other/x", ":x", "1http://x"})
        EXPECT_EQ(refused(garbage), "org.freedesktop.DBus.Error.InvalidArgs") << garbage;
    EXPECT_EQ(refused(std::string(70000, 'a')), "org.freedesktop.DBus.Error.InvalidArgs");
}

// --- what calls turn into ---------------------------------------------------------------

TEST(MprisCalls, TransportCallsRunOnlyWhenTheyMeanWhatMprisSays) {
    using R = Request;
    FakePort port;
    PlayerObject object(port);
    port.s = playing();
    object.handle(method("Play"));  // already playing: the player's Play would skip ahead
    object.handle(method("Pause"));
    port.s.playing = false;
    port.s.paused = true;
    object.handle(method("Pause"));  // already paused: the player's Pause would resume
    object.handle(method("Play"));
    object.handle(method("PlayPause"));
    object.handle(method("Stop"));
    port.s.paused = false;
    object.handle(method("Stop"));  // already stopped: the player's Stop closes the file
    object.handle(method("Next"));
    object.handle(method("Previous"));
    EXPECT_EQ(port.requests,
              (std::vector<R>{R::Pause, R::Play, R::PlayPause, R::Stop, R::Next, R::Previous}));

    port.requests.clear();
    port.s = PlayerState{};  // nothing open, nothing listed
    for (const char* m : {"Play", "Pause", "Stop", "Next", "Previous"})
        EXPECT_FALSE(object.handle(method(m)).isError()) << m;
    EXPECT_EQ(object.handle(method("PlayPause")).errorName,
              "org.freedesktop.DBus.Error.NotSupported");
    EXPECT_TRUE(port.requests.empty());
    port.s.listEmpty = false;  // a list to start
    object.handle(method("Play"));
    EXPECT_EQ(port.requests, (std::vector<R>{R::Play}));

    object.handle({kRootInterface, "Raise", "", {}});
    object.handle({"", "Quit", "", {}});  // no interface named: the member decides
    EXPECT_EQ(port.raises, 1);
    EXPECT_EQ(port.requests.back(), R::Quit);
}

TEST(MprisCalls, SeeksStayInsideTheMediumAndGoOnPastItsEnd) {
    FakePort port;
    PlayerObject object(port);
    port.s = playing();
    auto seek = [&](std::int64_t offset) { return object.handle(method("Seek", "x", {offset})); };
    seek(5'000'000);
    seek(-1'000'000'000'000);
    seek(std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(port.seeks, (std::vector<double>{35.0, 0.0, 0.0}));
    seek(1'000'000'000'000);  // past the end: as Next
    seek(std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(port.requests, (std::vector<Request>{Request::Next, Request::Next}));

    port.seeks.clear();
    const std::string track = trackIdOf(port.s);
    auto setPosition = [&](std::string id, std::int64_t us) {
        return object.handle(method("SetPosition", "ox", {ObjectPath{std::move(id)}, us}));
    };
    EXPECT_FALSE(setPosition("/org/orvalis/Track/2", 10'000'000).isError());  // stale: ignored
    setPosition(track, -1);
    setPosition(track, 100'000'001);
    setPosition(track, 12'500'000);
    setPosition(track, 100'000'000);
    EXPECT_EQ(port.seeks, (std::vector<double>{12.5, 100.0}));

    port.s.duration = 0;  // a live stream cannot seek
    seek(5'000'000);
    setPosition(track, 1);
    EXPECT_EQ(port.seeks.size(), 2u);
}

TEST(MprisCalls, WrongArgumentsUnknownNamesAndForeignTypesAreRefused) {
    FakePort port;
    PlayerObject object(port);
    port.s = playing();
    using S = std::string;
    const auto props = [](S member, S signature, std::vector<Argument> args) {
        return Call{kPropertiesInterface, std::move(member), std::move(signature), std::move(args)};
    };
    const std::pair<Call, const char*> cases[] = {
        {method("Seek", "s", {S("10")}), "InvalidArgs"},
        {method("Seek"), "InvalidArgs"},
        {method("Seek", "x", {S("lies about its signature")}), "InvalidArgs"},
        {method("SetPosition", "sx", {S("/x"), std::int64_t{1}}), "InvalidArgs"},
        {method("OpenUri", "x", {std::int64_t{1}}), "InvalidArgs"},
        {method("Play", "s", {S("now")}), "InvalidArgs"},
        {method("Eject"), "UnknownMethod"},
        {{"org.example.Other", "Play", "", {}}, "UnknownInterface"},
        {{kRootInterface, "Play", "", {}}, "UnknownMethod"},
        {props("Get", "s", {S(kPlayerInterface)}), "InvalidArgs"},
        {props("Get", "ss", {S(kPlayerInterface), S("Shuffle")}), "UnknownProperty"},
        {props("GetAll", "s", {S("org.example")}), "UnknownInterface"},
        {props("Watch", "", {}), "UnknownMethod"},
        {setProperty("Volume", S("loud")), "InvalidArgs"},
        {setProperty("Volume", std::nan("")), "InvalidArgs"},
        {setProperty("Rate", -1.0), "InvalidArgs"},
        {setProperty("Rate", std::numeric_limits<double>::infinity()), "InvalidArgs"},
        {setProperty("LoopStatus", S("Forever")), "InvalidArgs"},
        {setProperty("Fullscreen", S("yes"), kRootInterface), "InvalidArgs"},
        {setProperty("PlaybackStatus", S("Playing")), "PropertyReadOnly"},
        {setProperty("Shuffle", true), "UnknownProperty"},
        {setProperty("Volume", 0.5, "org.example"), "UnknownInterface"},
    };
    for (const auto& [call, error] : cases) {
        EXPECT_EQ(object.handle(call).errorName, S("org.freedesktop.DBus.Error.") + error)
            << call.member << "(" << call.signature << ")";
    }
    EXPECT_TRUE(port.requests.empty());
    EXPECT_TRUE(port.seeks.empty());
    EXPECT_TRUE(port.opened.empty());
}

TEST(MprisCalls, WritablePropertiesRunTheCommandsThatReachTheValue) {
    using R = Request;
    FakePort port;
    PlayerObject object(port);
    port.s = playing();

    object.handle(setProperty("LoopStatus", std::string("Track")));
    EXPECT_EQ(port.requests, (std::vector<R>{R::RepeatItem}));
    object.handle(setProperty("LoopStatus", std::string("Playlist")));
    EXPECT_EQ(port.requests, (std::vector<R>{R::RepeatItem, R::RepeatItem}));
    EXPECT_EQ(port.repeatListSets, (std::vector<bool>{true}));
    object.handle(setProperty("LoopStatus", std::string("Playlist")));  // already so
    object.handle(setProperty("LoopStatus", std::string("None")));
    EXPECT_EQ(port.repeatListSets, (std::vector<bool>{true, false}));
    EXPECT_EQ(port.requests.size(), 2u);

    port.requests.clear();
    object.handle(setProperty("Volume", 10.0 / 19));  // step 5 to 10
    EXPECT_EQ(port.requests, std::vector<R>(5, R::VolumeUp));
    port.requests.clear();
    port.s.muted = true;
    object.handle(setProperty("Volume", 4.0 / 19));  // unmutes, then 5 to 4
    EXPECT_EQ(port.requests, (std::vector<R>{R::Mute, R::VolumeDown}));

    port.requests.clear();
    object.handle(setProperty("Rate", 2.0));
    object.handle(setProperty("Rate", 0.0));  // as Pause
    EXPECT_EQ(port.requests, (std::vector<R>{R::RateDouble, R::Pause}));

    port.requests.clear();
    object.handle(setProperty("Fullscreen", true, kRootInterface));
    object.handle(setProperty("Fullscreen", false, kRootInterface));  // already windowed
    EXPECT_EQ(port.requests, (std::vector<R>{R::FullScreen}));

    port.requests.clear();
    port.s = PlayerState{};  // the rate starts at 1 with every medium: nothing to set
    object.handle(setProperty("Rate", 4.0));
    EXPECT_TRUE(port.requests.empty());
}

TEST(MprisCalls, PropertiesReadWithTheirDbusTypes) {
    FakePort port;
    PlayerObject object(port);
    port.s = playing();
    port.s.rate = 2;
    EXPECT_EQ(getValue(object, kPlayerInterface, "PlaybackStatus"), Value(std::string("Playing")));
    EXPECT_EQ(getValue(object, kPlayerInterface, "Position"), Value(std::int64_t{30'000'000}));
    EXPECT_EQ(getValue(object, kPlayerInterface, "Rate"), Value(2.0));
    EXPECT_EQ(getValue(object, kPlayerInterface, "CanSeek"), Value(true));
    EXPECT_EQ(getValue(object, "", "CanQuit"), Value(true));  // no interface named
    Reply all =
        object.handle({kPropertiesInterface, "GetAll", "s", {std::string(kPlayerInterface)}});
    EXPECT_EQ(all.kind, Reply::Kind::Properties);

    port.s = PlayerState{};
    EXPECT_EQ(getValue(object, kPlayerInterface, "CanPlay"), Value(false));
    EXPECT_EQ(getValue(object, kPlayerInterface, "CanPause"), Value(false));
    EXPECT_EQ(getValue(object, kPlayerInterface, "Position"), Value(std::int64_t{0}));
}

TEST(MprisChanges, OnlyWhatChangedIsAnnouncedAndNeverThePosition) {
    FakePort port;
    PlayerObject object(port);
    port.s = playing();
    EXPECT_TRUE(object.changes().empty());  // the first look only takes note
    port.s.position = 31;
    EXPECT_TRUE(object.changes().empty());

    port.s.playing = false;
    port.s.paused = true;
    port.s.volumeStep = 6;
    port.s.fullScreen = true;
    std::vector<Change> changes = object.changes();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].interface, kRootInterface);
    ASSERT_EQ(changes[0].properties.size(), 1u);
    EXPECT_EQ(changes[0].properties[0].first, "Fullscreen");
    EXPECT_EQ(changes[1].interface, kPlayerInterface);
    std::vector<std::string> names;
    for (const auto& p : changes[1].properties) names.push_back(p.first);
    EXPECT_EQ(names, (std::vector<std::string>{"PlaybackStatus", "Volume"}));
    EXPECT_TRUE(object.changes().empty());

    port.s.track = 4;  // the next medium
    port.s.location = "/media/b.mkv";
    changes = object.changes();
    ASSERT_EQ(changes.size(), 1u);
    ASSERT_EQ(changes[0].properties.size(), 1u);
    EXPECT_EQ(changes[0].properties[0].first, "Metadata");
    EXPECT_EQ(std::get<Metadata>(changes[0].properties[0].second).trackId, "/org/orvalis/Track/4");
}

}  // namespace
}  // namespace orvalis::mpris

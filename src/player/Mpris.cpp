#include "player/Mpris.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>

#include "base/DesktopEntry.h"
#include "base/Naming.h"
#include "base/TextCodec.h"

namespace orvalis::mpris {

namespace {

constexpr const char* kInvalidArgs = "org.freedesktop.DBus.Error.InvalidArgs";
constexpr const char* kUnknownMethod = "org.freedesktop.DBus.Error.UnknownMethod";
constexpr const char* kUnknownInterface = "org.freedesktop.DBus.Error.UnknownInterface";
constexpr const char* kUnknownProperty = "org.freedesktop.DBus.Error.UnknownProperty";
constexpr const char* kReadOnly = "org.freedesktop.DBus.Error.PropertyReadOnly";
constexpr const char* kNotSupported = "org.freedesktop.DBus.Error.NotSupported";
constexpr const char* kFileNotFound = "org.freedesktop.DBus.Error.FileNotFound";
constexpr const char* kTrackIdPrefix = "/org/orvalis/Track/";
// A URI longer than this is not an address anyone means.
constexpr std::size_t kMaxUri = 64 * 1024;

std::int64_t microseconds(double seconds) {
    if (!(seconds > 0)) return 0;
    const double us = seconds * 1e6;
    if (us >= 9.0e18) return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(std::llround(us));
}

std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<std::int64_t>::max()
                     : std::numeric_limits<std::int64_t>::min();
    return sum;
}

// The argument at index when the call has one of that type.
template <class T>
const T* arg(const Call& call, std::size_t index) {
    return index < call.args.size() ? std::get_if<T>(&call.args[index]) : nullptr;
}

Reply badSignature(const Call& call, const char* wanted) {
    return Reply::error(kInvalidArgs,
                        call.member + " takes (" + wanted + "), not (" + call.signature + ")");
}

bool isUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "scheme" of "scheme:…" in lower case, or empty when the text has none.
std::string schemeOf(std::string_view uri) {
    const std::size_t colon = uri.find(':');
    if (colon == std::string_view::npos || colon == 0) return {};
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = uri[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')))
            return {};
    }
    return text::toLowerAscii(uri.substr(0, colon));
}

Value propertyValue(const PlayerState& s, std::string_view name, bool* known) {
    *known = true;
    if (name == "PlaybackStatus") return playbackStatus(s);
    if (name == "LoopStatus") return loopStatus(s);
    if (name == "Rate") return s.loaded ? s.rate : 1.0;
    if (name == "Metadata") return metadataOf(s);
    if (name == "Volume") return volumeOf(s);
    if (name == "Position") return s.loaded ? microseconds(s.position) : std::int64_t{0};
    if (name == "MinimumRate") return s.minimumRate;
    if (name == "MaximumRate") return s.maximumRate;
    if (name == "CanGoNext" || name == "CanGoPrevious") return !s.listEmpty;
    if (name == "CanPlay") return s.loaded || !s.listEmpty;
    if (name == "CanPause") return s.loaded;
    if (name == "CanSeek") return s.loaded && s.duration > 0;
    if (name == "CanControl") return true;
    *known = false;
    return false;
}

constexpr std::string_view kPlayerProperties[] = {
    "PlaybackStatus", "LoopStatus",  "Rate",        "Metadata",  "Volume",
    "Position",       "MinimumRate", "MaximumRate", "CanGoNext", "CanGoPrevious",
    "CanPlay",        "CanPause",    "CanSeek",     "CanControl"};

PropertyList rootProperties(const PlayerState& s) {
    return {
        {"CanQuit", true},
        {"Fullscreen", s.fullScreen},
        {"CanSetFullscreen", true},
        {"CanRaise", true},
        {"HasTrackList", false},
        {"Identity", std::string("Orvalis")},
        {"DesktopEntry", std::string("orvalis")},
        {"SupportedUriSchemes", supportedUriSchemes()},
        {"SupportedMimeTypes", desktop::supportedMimeTypes()},
    };
}

PropertyList playerProperties(const PlayerState& s) {
    PropertyList out;
    bool known = false;
    for (std::string_view name : kPlayerProperties)
        out.emplace_back(std::string(name), propertyValue(s, name, &known));
    return out;
}

// The entries of now that differ from before; Position and CanControl are never announced
// (clients follow the position from Rate and Seeked).
PropertyList differences(const PropertyList& before, const PropertyList& now) {
    PropertyList out;
    for (std::size_t i = 0; i < now.size(); ++i) {
        const auto& [name, value] = now[i];
        if (name == "Position" || name == "CanControl") continue;
        if (i >= before.size() || before[i].second != value) out.push_back(now[i]);
    }
    return out;
}

}  // namespace

Reply Reply::error(std::string name, std::string message) {
    Reply r;
    r.kind = Kind::Error;
    r.errorName = std::move(name);
    r.errorMessage = std::move(message);
    return r;
}

// ---------------------------------------------------------------------------------------------
// Mappings

std::string playbackStatus(const PlayerState& s) {
    // A medium on its way in is the next one playing, not a stop between two.
    if (s.opening || (s.loaded && s.playing)) return "Playing";
    if (s.loaded && s.paused) return "Paused";
    return "Stopped";
}

std::string loopStatus(const PlayerState& s) {
    if (s.repeatItem) return "Track";
    return s.repeatList ? "Playlist" : "None";
}

double volumeOf(const PlayerState& s) {
    if (s.muted || s.volumeTop <= 0) return 0.0;
    return std::clamp(static_cast<double>(s.volumeStep) / s.volumeTop, 0.0, 1.0);
}

int stepForVolume(double volume, int top) {
    return static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * top));
}

std::vector<Request> rateRequests(double from, double to, double minimum, double maximum) {
    if (!(from > 0) || !(to > 0)) return {};
    const double target = std::exp2(std::round(std::log2(std::clamp(to, minimum, maximum))));
    if (target == from) return {};
    if (target == 1.0) return {Request::RateNormal};
    std::vector<Request> out;
    double rate = from;
    if (std::exp2(std::round(std::log2(from))) != from) {
        // Not a rate the commands reach: start again from 1.
        out.push_back(Request::RateNormal);
        rate = 1.0;
    }
    const int steps = static_cast<int>(std::lround(std::log2(target / rate)));
    out.insert(out.end(), static_cast<std::size_t>(std::abs(steps)),
               steps > 0 ? Request::RateDouble : Request::RateHalf);
    return out;
}

std::string trackIdOf(const PlayerState& s) {
    if (!s.loaded && !s.opening) return kNoTrack;
    return kTrackIdPrefix + std::to_string(s.track);
}

Metadata metadataOf(const PlayerState& s) {
    Metadata m;
    m.trackId = trackIdOf(s);
    if (m.trackId == kNoTrack) return m;
    if (s.duration > 0) m.length = microseconds(s.duration);
    m.title = !s.title.empty() ? s.title : std::string(fileNamePart(s.location));
    m.url = isStreamAddress(s.location) || s.location.empty() ? s.location : fileUrl(s.location);
    m.artUrl = s.artUrl;
    if (!s.artist.empty()) m.artists.push_back(s.artist);
    m.album = s.album;
    return m;
}

std::string fileUrl(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "file://";
    for (unsigned char c : path) {
        if (isUnreserved(c) || c == '/') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::optional<std::string> localPathOf(std::string_view url) {
    if (schemeOf(url) != "file" || url.substr(5, 2) != "//") return std::nullopt;
    std::string_view rest = url.substr(7);
    // "file://host/path": only this machine's files are ours to open.
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = rest.substr(0, slash);
    if (!host.empty() && text::toLowerAscii(host) != "localhost") return std::nullopt;
    rest = rest.substr(slash);
    if (const std::size_t end = rest.find_first_of("?#"); end != std::string_view::npos)
        rest = rest.substr(0, end);
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && hexDigit(rest[i + 1]) >= 0 &&
            hexDigit(rest[i + 2]) >= 0) {
            path += static_cast<char>(hexDigit(rest[i + 1]) * 16 + hexDigit(rest[i + 2]));
            i += 2;
        } else {
            path += rest[i];
        }
    }
    if (path.find('\0') != std::string::npos || !text::isValidUtf8(path)) return std::nullopt;
    return path;
}

const std::vector<std::string>& supportedUriSchemes() {
    static const std::vector<std::string> schemes = {"file", "http", "https", "ftp",
                                                     "rtsp", "rtmp", "mms",   "mmsh"};
    return schemes;
}

OpenTarget openTargetOf(std::string_view uri) {
    auto refuse = [](const char* name, std::string message) {
        return OpenTarget{{}, name, std::move(message)};
    };
    if (uri.empty() || uri.size() > kMaxUri) return refuse(kInvalidArgs, "not a URI");
    if (std::any_of(uri.begin(), uri.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
        return refuse(kInvalidArgs, "a URI holds no control characters");
    std::string path;
    if (uri.front() == '/') {
        path = uri;  // a plain absolute path, as some clients send
    } else {
        const std::string scheme = schemeOf(uri);
        if (scheme.empty()) return refuse(kInvalidArgs, "not a URI: " + std::string(uri));
        const auto& known = supportedUriSchemes();
        if (std::find(known.begin(), known.end(), scheme) == known.end())
            return refuse(kNotSupported, "the player does not open " + scheme + " addresses");
        if (scheme != "file") {
            const std::size_t marker = uri.find("://");
            if (marker != scheme.size() || uri.size() == marker + 3)
                return refuse(kInvalidArgs, "not an address: " + std::string(uri));
            return {std::string(uri), {}, {}};
        }
        auto local = localPathOf(uri);
        if (!local) return refuse(kInvalidArgs, "not a local file: " + std::string(uri));
        path = std::move(*local);
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return refuse(kFileNotFound, "no such file: " + path);
    return {path, {}, {}};
}

// ---------------------------------------------------------------------------------------------
// The object

std::int64_t PlayerObject::seekedPosition(double seconds) {
    return microseconds(seconds);
}

PropertyList PlayerObject::properties(std::string_view interface) const {
    const PlayerState s = port_.state();
    if (interface == kRootInterface) return rootProperties(s);
    if (interface == kPlayerInterface) return playerProperties(s);
    return {};
}

std::vector<Change> PlayerObject::changes() {
    const PlayerState s = port_.state();
    std::vector<Change> out;
    auto compare = [&](std::optional<PropertyList>& announced, PropertyList now,
                       const char* interface) {
        if (announced) {
            PropertyList changed = differences(*announced, now);
            if (!changed.empty()) out.push_back({interface, std::move(changed)});
        }
        announced = std::move(now);
    };
    compare(announcedRoot_, rootProperties(s), kRootInterface);
    compare(announcedPlayer_, playerProperties(s), kPlayerInterface);
    return out;
}

Reply PlayerObject::handle(const Call& call) {
    if (call.interface == kPropertiesInterface) {
        if (call.member == "Get") return get(call);
        if (call.member == "GetAll") return getAll(call);
        if (call.member == "Set") return set(call);
        return Reply::error(kUnknownMethod, "no method " + call.member);
    }
    if (call.interface == kPlayerInterface) return player(call);
    if (call.interface == kRootInterface) return root(call);
    if (call.interface.empty()) {
        // A call without an interface: the member names decide, as they are all distinct.
        Reply r = player(call);
        if (!r.isError() || r.errorName != kUnknownMethod) return r;
        return root(call);
    }
    return Reply::error(kUnknownInterface, "no interface " + call.interface);
}

Reply PlayerObject::root(const Call& call) {
    const bool bare = call.signature.empty();
    if (call.member == "Raise") {
        if (!bare) return badSignature(call, "");
        port_.raise();
        return {};
    }
    if (call.member == "Quit") {
        if (!bare) return badSignature(call, "");
        port_.run(Request::Quit);
        return {};
    }
    return Reply::error(kUnknownMethod, "no method " + call.member);
}

Reply PlayerObject::player(const Call& call) {
    const std::string& m = call.member;
    if (m == "Seek") {
        const auto* offset = arg<std::int64_t>(call, 0);
        if (call.signature != "x" || !offset) return badSignature(call, "x");
        return seek(*offset);
    }
    if (m == "SetPosition") {
        const auto* track = arg<ObjectPath>(call, 0);
        const auto* position = arg<std::int64_t>(call, 1);
        if (call.signature != "ox" || !track || !position) return badSignature(call, "ox");
        return setPosition(*track, *position);
    }
    if (m == "OpenUri") {
        const auto* uri = arg<std::string>(call, 0);
        if (call.signature != "s" || !uri) return badSignature(call, "s");
        return openUri(*uri);
    }
    const bool known = m == "Next" || m == "Previous" || m == "Pause" || m == "PlayPause" ||
                       m == "Stop" || m == "Play";
    if (!known) return Reply::error(kUnknownMethod, "no method " + m);
    if (!call.signature.empty()) return badSignature(call, "");

    const PlayerState s = port_.state();
    const bool playing = s.loaded && s.playing;
    if (m == "Next" || m == "Previous") {
        if (!s.listEmpty) port_.run(m == "Next" ? Request::Next : Request::Previous);
    } else if (m == "Pause") {
        // Pause on a paused medium would resume it: only a playing one pauses.
        if (playing) port_.run(Request::Pause);
    } else if (m == "Play") {
        // Play on a playing medium is the player's "next item" (Play Key): not here.
        if (!playing && !s.opening && (s.loaded || !s.listEmpty)) port_.run(Request::Play);
    } else if (m == "PlayPause") {
        if (s.opening) return {};
        if (!s.loaded && s.listEmpty)
            return Reply::error(kNotSupported, "there is nothing to play or pause");
        port_.run(Request::PlayPause);
    } else if (m == "Stop") {
        // Stop on a stopped medium is the player's Stop Key (close, open, exit): not here.
        if (s.loaded && (s.playing || s.paused)) port_.run(Request::Stop);
    }
    return {};
}

Reply PlayerObject::seek(std::int64_t offset) {
    const PlayerState s = port_.state();
    if (!(s.loaded && s.duration > 0)) return {};
    const std::int64_t length = microseconds(s.duration);
    const std::int64_t target =
        std::max<std::int64_t>(0, saturatingAdd(microseconds(s.position), offset));
    if (target > length) {
        if (!s.listEmpty) port_.run(Request::Next);
        return {};
    }
    port_.seekTo(static_cast<double>(target) / 1e6);
    return {};
}

Reply PlayerObject::setPosition(const ObjectPath& track, std::int64_t position) {
    const PlayerState s = port_.state();
    // A position for another track is stale: the client has not seen the change yet.
    if (!(s.loaded && s.duration > 0) || track.path != trackIdOf(s)) return {};
    if (position < 0 || position > microseconds(s.duration)) return {};
    port_.seekTo(static_cast<double>(position) / 1e6);
    return {};
}

Reply PlayerObject::openUri(const std::string& uri) {
    OpenTarget t = openTargetOf(uri);
    if (!t.errorName.empty()) return Reply::error(t.errorName, t.errorMessage);
    if (!port_.open(t.target))
        return Reply::error(kNotSupported, "the player cannot open " + t.target);
    return {};
}

Reply PlayerObject::get(const Call& call) const {
    const auto* i0 = arg<std::string>(call, 0);
    const auto* n0 = arg<std::string>(call, 1);
    if (call.signature != "ss" || !i0 || !n0) return badSignature(call, "ss");
    const std::string& interface = *i0;
    const std::string& name = *n0;
    if (interface != kRootInterface && interface != kPlayerInterface && !interface.empty())
        return Reply::error(kUnknownInterface, "no interface " + interface);
    for (const char* i : {kRootInterface, kPlayerInterface}) {
        if (!interface.empty() && interface != i) continue;
        for (auto& [key, value] : properties(i)) {
            if (key != name) continue;
            Reply r;
            r.kind = Reply::Kind::Value;
            r.value = value;
            return r;
        }
    }
    return Reply::error(kUnknownProperty, "no property " + name);
}

Reply PlayerObject::getAll(const Call& call) const {
    const auto* i0 = arg<std::string>(call, 0);
    if (call.signature != "s" || !i0) return badSignature(call, "s");
    const std::string& interface = *i0;
    if (interface != kRootInterface && interface != kPlayerInterface)
        return Reply::error(kUnknownInterface, "no interface " + interface);
    Reply r;
    r.kind = Reply::Kind::Properties;
    r.properties = properties(interface);
    return r;
}

Reply PlayerObject::set(const Call& call) {
    const auto* i0 = arg<std::string>(call, 0);
    const auto* n0 = arg<std::string>(call, 1);
    if (call.signature != "ssv" || !i0 || !n0 || call.args.size() != 3)
        return badSignature(call, "ssv");
    const std::string& interface = *i0;
    const std::string& name = *n0;
    const Argument& value = call.args[2];
    auto wrongType = [&](const char* type) {
        return Reply::error(kInvalidArgs, name + " takes a value of type " + type);
    };
    if (interface == kPlayerInterface || interface.empty()) {
        if (name == "LoopStatus") {
            if (!std::holds_alternative<std::string>(value)) return wrongType("s");
            return setLoopStatus(std::get<std::string>(value));
        }
        if (name == "Rate") {
            if (!std::holds_alternative<double>(value)) return wrongType("d");
            return setRate(std::get<double>(value));
        }
        if (name == "Volume") {
            if (!std::holds_alternative<double>(value)) return wrongType("d");
            return setVolume(std::get<double>(value));
        }
    }
    if (interface == kRootInterface || interface.empty()) {
        if (name == "Fullscreen") {
            if (!std::holds_alternative<bool>(value)) return wrongType("b");
            if (std::get<bool>(value) != port_.state().fullScreen) port_.run(Request::FullScreen);
            return {};
        }
    }
    if (interface != kRootInterface && interface != kPlayerInterface && !interface.empty())
        return Reply::error(kUnknownInterface, "no interface " + interface);
    for (const char* i : {kRootInterface, kPlayerInterface}) {
        if (!interface.empty() && interface != i) continue;
        for (auto& entry : properties(i))
            if (entry.first == name) return Reply::error(kReadOnly, name + " is read-only");
    }
    return Reply::error(kUnknownProperty, "no property " + name);
}

Reply PlayerObject::setLoopStatus(const std::string& status) {
    if (status != "None" && status != "Track" && status != "Playlist")
        return Reply::error(kInvalidArgs, "LoopStatus is None, Track or Playlist");
    const PlayerState s = port_.state();
    const bool item = status == "Track";
    if (s.repeatItem != item) port_.run(Request::RepeatItem);
    // Track leaves the list's repeat as it is: the item repeats whatever the list does.
    if (status != "Track" && s.repeatList != (status == "Playlist"))
        port_.setRepeatList(status == "Playlist");
    return {};
}

Reply PlayerObject::setRate(double rate) {
    if (!std::isfinite(rate) || rate < 0)
        return Reply::error(kInvalidArgs, "Rate is a positive number");
    const PlayerState s = port_.state();
    if (!s.loaded) return {};  // the rate starts at 1 with every medium
    if (rate == 0) {
        if (s.playing) port_.run(Request::Pause);
        return {};
    }
    for (Request r : rateRequests(s.rate, rate, s.minimumRate, s.maximumRate)) port_.run(r);
    return {};
}

Reply PlayerObject::setVolume(double volume) {
    if (std::isnan(volume)) return Reply::error(kInvalidArgs, "Volume is a number");
    const PlayerState s = port_.state();
    const int target = stepForVolume(volume, s.volumeTop);
    if (s.muted && target > 0) port_.run(Request::Mute);
    const int diff = target - s.volumeStep;
    for (int i = 0; i < std::abs(diff); ++i)
        port_.run(diff > 0 ? Request::VolumeUp : Request::VolumeDown);
    return {};
}

}  // namespace orvalis::mpris

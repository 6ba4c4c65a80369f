#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// The player on the desktop's media-player interface (MPRIS 2.2): what media keys, desktop
// panels and playerctl read and ask. The rules live here in plain C++: which state a client
// sees, and what each call turns into in the player's own commands. The D-Bus side
// (MprisService) only turns messages into Calls and Replies.
namespace orvalis::mpris {

inline constexpr const char* kBusName = "org.mpris.MediaPlayer2.orvalis";
inline constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";
inline constexpr const char* kRootInterface = "org.mpris.MediaPlayer2";
inline constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";
inline constexpr const char* kPropertiesInterface = "org.freedesktop.DBus.Properties";
inline constexpr const char* kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

// The player as it is now, in its own terms.
struct PlayerState {
    bool loaded = false;   // a medium is open
    bool opening = false;  // one is being opened
    bool playing = false;
    bool paused = false;
    bool listEmpty = true;  // nothing in the playlist to play
    bool repeatItem = false;
    bool repeatList = false;
    bool fullScreen = false;
    double rate = 1.0;
    double minimumRate = 0.25;
    double maximumRate = 16.0;
    int volumeStep = 0;
    int volumeTop = 19;  // the loudest step
    bool muted = false;
    double position = 0;      // seconds
    double duration = 0;      // seconds; 0 when not known (a live stream)
    std::uint64_t track = 0;  // a new number for every medium opened
    std::string location;     // path or address of the medium
    std::string title;        // the medium's own tags, empty where it has none
    std::string artist;
    std::string album;
    std::string artUrl;  // the medium's cover picture, empty where it has none
};

// The player's commands that a client's call can turn into.
enum class Request {
    PlayPause,
    Play,
    Pause,
    Stop,
    Next,
    Previous,
    RepeatItem,
    RateHalf,
    RateDouble,
    RateNormal,
    VolumeUp,
    VolumeDown,
    Mute,
    FullScreen,
    Quit,
};

// What the interface needs of the player: its state, and the same commands that keys and
// menus run. The player window implements it.
class PlayerPort {
public:
    virtual ~PlayerPort() = default;
    virtual PlayerState state() const = 0;
    virtual void run(Request request) = 0;
    // A seek to a point, as the transport bar's track makes it.
    virtual void seekTo(double seconds) = 0;
    // The playlist's "Repeat List" setting.
    virtual void setRepeatList(bool on) = 0;
    // A file to add to the playlist and play, or a network address to play. False when
    // the player cannot take it (a file of a kind it does not play).
    virtual bool open(const std::string& pathOrAddress) = 0;
    virtual void raise() = 0;

    // Told of every seek, whoever made it (keys, the track, a repeat, a client); the
    // interface answers with its Seeked signal.
    std::function<void(double seconds)> seeked;
};

// Values as D-Bus carries them.
struct ObjectPath {
    std::string path;
    bool operator==(const ObjectPath&) const = default;
};

struct Metadata {
    std::string trackId;       // an object path
    std::int64_t length = -1;  // microseconds; negative: not given
    std::string title;
    std::string url;
    std::string artUrl;
    std::vector<std::string> artists;
    std::string album;
    bool operator==(const Metadata&) const = default;
};

using Value = std::variant<bool, std::int64_t, double, std::string, ObjectPath,
                           std::vector<std::string>, Metadata>;
using PropertyList = std::vector<std::pair<std::string, Value>>;

// A client's message: interface (may be empty), member, the D-Bus signature of its
// arguments, and the arguments, variants unwrapped. An argument of a type the player never
// takes arrives as monostate.
using Argument = std::variant<std::monostate, bool, std::int64_t, double, std::string, ObjectPath>;
struct Call {
    std::string interface;
    std::string member;
    std::string signature;
    std::vector<Argument> args;
};

struct Reply {
    enum class Kind { Empty, Value, Properties, Error };
    Kind kind = Kind::Empty;
    Value value = false;      // Kind::Value: the answer of a Get, sent as a variant
    PropertyList properties;  // Kind::Properties: the answer of a GetAll
    std::string errorName;
    std::string errorMessage;

    static Reply error(std::string name, std::string message);
    bool isError() const { return kind == Kind::Error; }
};

// The properties of one interface that changed, for a PropertiesChanged signal.
struct Change {
    std::string interface;
    PropertyList properties;
};

// The object /org/mpris/MediaPlayer2 with its two interfaces and their properties.
class PlayerObject {
public:
    explicit PlayerObject(PlayerPort& port) : port_(port) {}

    Reply handle(const Call& call);
    PropertyList properties(std::string_view interface) const;
    // What changed since the last call (the first call only takes note).
    std::vector<Change> changes();
    // The Seeked signal's position for a seek to seconds.
    static std::int64_t seekedPosition(double seconds);

private:
    Reply player(const Call& call);
    Reply root(const Call& call);
    Reply get(const Call& call) const;
    Reply getAll(const Call& call) const;
    Reply set(const Call& call);
    Reply setLoopStatus(const std::string& status);
    Reply setRate(double rate);
    Reply setVolume(double volume);
    Reply seek(std::int64_t offset);
    Reply setPosition(const ObjectPath& track, std::int64_t position);
    Reply openUri(const std::string& uri);

    PlayerPort& port_;
    std::optional<PropertyList> announcedPlayer_;
    std::optional<PropertyList> announcedRoot_;
};

// Pure mappings, for the object above and its tests.
std::string playbackStatus(const PlayerState& s);
std::string loopStatus(const PlayerState& s);
double volumeOf(const PlayerState& s);
// The nearest step to a volume (clamped to 0..1).
int stepForVolume(double volume, int top);
// The rate commands that take rate `from` to the rate the player can play nearest to
// `to` (a power of two within its limits).
std::vector<Request> rateRequests(double from, double to, double minimum, double maximum);
std::string trackIdOf(const PlayerState& s);
Metadata metadataOf(const PlayerState& s);

// "file:///…" of an absolute path, every byte outside the unreserved set percent-encoded.
std::string fileUrl(std::string_view path);
// The local path a file URL names; nothing when it names none (another host, a NUL, a
// relative path, not a file URL).
std::optional<std::string> localPathOf(std::string_view url);

// What OpenUri opens: a local file's path or a network address, or the reason it refuses.
struct OpenTarget {
    std::string target;
    std::string errorName;  // empty when target is good
    std::string errorMessage;
};
OpenTarget openTargetOf(std::string_view uri);
const std::vector<std::string>& supportedUriSchemes();

}  // namespace orvalis::mpris

#pragma once

#include <string>
#include <vector>

#include "engine/MediaBackend.h"
#include "player/Jumps.h"
#include "player/CommandRows.h"

namespace orvalis {

// What the context menu shows depends on.
struct MenuState {
    bool loaded = false;
    bool hasVideo = false;
    bool captionsLoaded = false;
    int captionLanguages = 0;
    // The encoding the caption file was read in, and whether the user chose it for the file.
    text::Encoding captionEncoding = text::Encoding::Utf8;
    bool captionEncodingChosen = false;
    bool showCaption = true;  // Caption "Show Caption"
    bool fullScreen = false;  // also set while maximized
    int escKey = 0;           // Config\Custom "Esc Key": what Esc runs out of full screen
    bool maximized = false;
    bool mainWindowShown = true;
    bool playlistShown = false;
    bool alwaysOnTop = false;
    bool keepAspect = false;
    bool repeatItem = false;
    bool captionSmoothing = false;
    bool ignoreSubtitleStyle = false;  // Caption "Ignore Subtitle Style"
    bool twoLanguages = false;         // Caption "Show Two Languages"
    bool muted = false;
    int zoomCode = 0;  // the last zoom command: 2, 3, 4, 5 for 0.5, 1.0, 1.5, 2.0; 0 none
    JumpSettings jumps;
    std::vector<std::string> drives;  // the optical drives' names, at most two are used
    std::vector<FilterInfo> filters;  // the playback chain; at most ten are listed
};

struct MenuItem {
    enum class Kind { Command, Separator, Submenu };
    Kind kind = Kind::Command;
    // The command number: a CommandId, a filter item 4000..4009 or a caption encoding 4100...
    int command = 0;
    std::string label;
    bool checkable = false;
    bool checked = false;
    bool enabled = true;
    std::vector<MenuItem> children;  // of a submenu
};

inline constexpr const char* kFilterMenuLabel = "필터 정보(&F)";
inline constexpr const char* kCaptionMenuLabel = "자막(&S)";
inline constexpr const char* kCaptionEncodingMenuLabel = "자막 인코딩(&E)";
// Where the filter submenu stands among the menu's top-level entries.
inline constexpr int kFilterMenuPosition = 14;

// The whole command set as the right-click menu, built afresh each time it opens: live
// labels (jump steps, the full-screen and exit texts, the drive names), check marks and
// disabled items.
std::vector<MenuItem> buildContextMenu(const MenuState& state);

// Finds an item of the tree by command number, or nullptr.
const MenuItem* findMenuItem(const std::vector<MenuItem>& menu, int command);

}  // namespace orvalis

#pragma once

#include <optional>
#include <string>

#include "base/TextCodec.h"
#include "ports/Commands.h"

namespace orvalis {

// The encoding a caption file was read in: the one chosen for it, or the one it showed.
struct CaptionEncodingState {
    text::Encoding encoding = text::Encoding::Utf8;
    bool chosen = false;
};

class CaptionPort {
public:
    virtual ~CaptionPort() = default;
    virtual bool findCaptionFile(const std::string& mediaPath) = 0;
    virtual bool loaded() const = 0;
    virtual void unload() = 0;
    // The caption step of the playback tick.
    virtual void lookup(double position) = 0;
    virtual void clearText() = 0;
    virtual void draw() = 0;
    virtual void afterSeek(double position) = 0;
    // A caption file dropped on the window while a medium is open.
    virtual void loadDropped(const std::string& path) = 0;
    virtual void holdExpired(bool playing, bool paused) = 0;
    virtual void resetSync() = 0;
    virtual int syncOffset() const = 0;
    virtual void setSyncOffset(int tenths) = 0;
    virtual void createFont() = 0;
    virtual void reparse() = 0;
    // Puts the handlers of the caption commands (size, position, sync, space, show, editor,
    // language, style) in the player's command table.
    virtual void registerCommands(CommandTable& table) = 0;
    virtual int languageCount() const = 0;
    virtual CaptionEncodingState captionEncoding() const = 0;
    // Reads the caption file again in this encoding (nothing: the one it shows), and keeps
    // the choice for the file.
    virtual void rereadCaptionFile(std::optional<text::Encoding> encoding) = 0;
};

}  // namespace orvalis

#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/MediaBackend.h"
#include "engine/SubtitleTracks.h"

namespace orvalis {

// A decoded picture as the media framework gives it: rows top-down, `stride` bytes apart,
// four bytes a pixel in the order `format` names ("bgr0").
struct VideoFrame {
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    std::string format;
    std::string pixels;
};

// A picture laid over the frames: `height` rows top-down, `stride` bytes apart, four bytes a
// pixel, blue, green, red and alpha, the colours premultiplied by the alpha; its top-left corner
// at (x, y) in the pixels of the surface. `keep` holds the pixels for as long as they are read.
struct OverlayPicture {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    const unsigned char* pixels = nullptr;
    std::shared_ptr<const void> keep;
};

// The picture side of the media framework: it draws its frames into the OpenGL context of
// the video surface, says when a new frame is due, places the picture and hands out the
// frame now shown. Every call is made on the UI thread and returns at once.
class VideoOutput {
public:
    virtual ~VideoOutput() = default;

    // The renderer lives in one OpenGL context: made there (with that context current), it
    // draws there and is released there before the context goes. False when it cannot draw.
    using GetProcAddress = void* (*)(void* context, const char* name);
    virtual bool initRenderer(GetProcAddress getProcAddress, void* context) = 0;
    virtual void render(int framebuffer, int width, int height, bool flipY) = 0;
    // The surface goes: the medium's picture has nowhere to go any more.
    virtual void releaseRenderer() = 0;
    // The context goes but the surface stays: the renderer is freed now, and the picture of
    // the medium playing comes back with the next renderer.
    virtual void renderContextLost() = 0;
    // Runs on the UI thread, once for any number of frames that came due since it last ran.
    // An empty function stops it.
    virtual void setFrameReadyCallback(std::function<void()> callback) = 0;

    // Where the picture goes inside the video surface: margins as fractions of its size,
    // letter-boxed or stretched, and a zoom (log2 of the scale).
    virtual void setVideoPlacement(double left, double top, double right, double bottom,
                                   bool keepAspect, double zoom) = 0;
    // Asks for the frame now shown, in the video's own size, without captions or on-screen
    // text. `done` runs later on this thread, exactly once (unless the output goes first),
    // with nothing when there is no picture.
    virtual void grabFrame(std::function<void(std::optional<VideoFrame>)> done) = 0;
    // Lays a picture over every frame it draws from now on (the captions), in place of the
    // last one; nothing takes it away. False when it cannot: the surface then paints it.
    virtual bool setOverlay(const OverlayPicture* picture) {
        (void)picture;
        return false;
    }
};

// The media framework as the player window uses it: playback, the picture, and the
// medium's own subtitle tracks.
class PlayerBackend : public MediaBackend, public VideoOutput, public SubtitleTrackControl {};

}  // namespace orvalis

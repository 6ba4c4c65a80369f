// The libmpv backend's drawing side: the render context in the video surface's OpenGL
// context, its frames, and its release.
#include <mpv/client.h>
#include <mpv/render_gl.h>
#include <unistd.h>

#include <QMetaObject>
#include <string>

#include "engine/MpvBackend.h"
#include "engine/MpvWakeup.h"

namespace orvalis {

// From libmpv's render thread: a new frame is due. One call goes to the Qt thread for any
// number of these; it tells the video surface.
void MpvBackend::onRenderUpdate(void* data) {
    auto* w = static_cast<MpvWakeup*>(data);
    if (w->framePending.exchange(true)) return;
    QMetaObject::invokeMethod(
        w->target.data(),
        [w] {
            w->framePending = false;
            if (w->target && w->target->frameReady_) w->target->frameReady_();
        },
        Qt::QueuedConnection);
}

bool MpvBackend::initRenderer(GetProcAddress getProcAddress, void* context) {
    if (!mpv_ || render_) return render_ != nullptr;
    mpv_opengl_init_params gl{getProcAddress, context};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&render_, mpv_, params) < 0) {
        render_ = nullptr;
        return false;
    }
    mpv_render_context_set_update_callback(render_, onRenderUpdate, wakeup_.get());
    if (videoLost_ > 0) {
        // libmpv gave up the video track with the old renderer; the medium played on.
        const std::string track = std::to_string(videoLost_);
        videoLost_ = 0;
        if (fileActive_) command({"set", "vid", track.c_str()});
    }
    return true;
}

void MpvBackend::renderContextLost() {
    if (!render_) return;
    mpv_render_context_set_update_callback(render_, nullptr, nullptr);
    mpv_render_context_free(render_);
    render_ = nullptr;
    videoLost_ = fileActive_ ? videoTrack_ : 0;
}

void MpvBackend::render(int framebuffer, int width, int height, bool flipY) {
    if (!render_) return;
    mpv_opengl_fbo fbo{framebuffer, width, height, 0};
    int flip = flipY ? 1 : 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flip},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render_, params);
}

void MpvBackend::releaseRenderer() {
    if (!render_) return;
    mpv_render_context_set_update_callback(render_, nullptr, nullptr);
    // Freeing the renderer waits until libmpv has shut its video output down, and the output
    // waits for the frames it handed to the renderer. Stop the medium first and keep
    // rendering until libmpv is idle, so that neither waits for its timeout.
    if (mpv_ && fileActive_) {
        const char* stop[] = {"stop", nullptr};
        mpv_command_async(mpv_, 0, stop);
        for (int i = 0; i < 500 && fileActive_; ++i) {
            while (mpv_event* e = mpv_wait_event(mpv_, 0)) {
                if (e->event_id == MPV_EVENT_NONE) break;
                if (e->event_id == MPV_EVENT_IDLE) fileActive_ = false;
            }
            if (mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME) {
                // Taken, not shown: into the current surface's own framebuffer.
                mpv_opengl_fbo fbo{0, 16, 16, 0};
                mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
                                             {MPV_RENDER_PARAM_INVALID, nullptr}};
                mpv_render_context_render(render_, params);
            }
            if (fileActive_) ::usleep(1000);
        }
    }
    mpv_render_context_free(render_);
    render_ = nullptr;
}

}  // namespace orvalis

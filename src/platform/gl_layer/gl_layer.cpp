// The GL layer's life cycle.
#include "platform/gl_layer/gl_layer.h"

#include "platform/gl_layer/bitmaps.h"
#include "platform/gl_layer/display_lists.h"
#include "platform/gl_layer/draw_state.h"
#include "platform/gl_layer/es_renderer.h"
#include "platform/gl_layer/layer_state.h"

bool GlLayerOpen(int32_t width, int32_t height, std::string* error) {
    GlLayerClose();
    if (!gllayer::RendererOpen(width, height, error)) {
        return false;
    }
    gllayer::LayerState& state = gllayer::State();
    state = gllayer::LayerState{};
    const GLint box[4] = {0, 0, width, height};
    std::copy(box, box + 4, state.server.viewport);
    std::copy(box, box + 4, state.server.scissor);
    return true;
}

void GlLayerClose() {
    gllayer::DeleteAllLists();
    gllayer::DeleteGlyphs();
    gllayer::DeleteAllTextures();
    gllayer::RendererClose();
    gllayer::State() = gllayer::LayerState{};
}

void GlLayerFinishDrawing() {
    gllayer::RendererSendDraws();
}

void GlLayerForgetAppliedState() {
    gllayer::RendererForgetAppliedState();
}

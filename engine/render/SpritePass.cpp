// The sprite pass: screen-space rectangles over everything drawn so far, in queue order, with
// one draw per run of sprites that share texture and blend mode.
#include "engine/render/RenderEngine.h"

#include "engine/render/QuadRuns.h"

#include <d3d9.h>

void RenderEngine::spritePass() {
    if (spriteQueue.empty()) {
        return;
    }
    spriteVertices.clear();
    for (const Sprite* sprite : spriteQueue) {
        appendSpriteVertices(spriteVertices, *sprite, m_screenWidth, m_screenHeight);
    }

    // Pre-transformed vertices bypass the vertex program in force.
    IDirect3DDevice9* device = m_device;
    device->SetFVF(kSpriteFvf);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    setTexturedQuadStage(device);
    drawQuadRuns(device, spriteQueue, spriteVertices, statistics);

    // Depth testing and blending stay as left: the next frame sets its own.
}

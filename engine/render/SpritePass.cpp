// The sprite pass: screen-space rectangles over everything drawn so far, in queue order, with
// one draw per run of sprites that share texture and blend mode.
#include "engine/render/RenderEngine.h"

#include "engine/render/BlendMode.h"
#include "engine/resources/Texture.h"

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
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);

    const int count = spriteQueue.count();
    int first = 0;
    for (int i = 0; i < count; ++i) {
        const Sprite& head = *spriteQueue[first];
        if (i + 1 < count && spriteQueue[i + 1]->texture == head.texture &&
            spriteQueue[i + 1]->blendMode == head.blendMode) {
            continue;
        }
        applyBlendMode(device, head.blendMode);
        if (head.texture != nullptr) {
            head.texture->bind(0, 0, 0);
        }
        const int sprites = i - first + 1;
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(2 * sprites),
                                &spriteVertices[first * kVerticesPerQuad], sizeof(SpriteVertex));
        first = i + 1;
    }
    // Depth testing and blending stay as left: the next frame sets its own.
}

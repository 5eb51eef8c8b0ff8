#pragma once

// What sprites and particles share: a textured quad whose colour and alpha are the texture's
// times the vertex colour, and drawing a queue of quads with one draw per run of neighbours
// that share texture and blend mode.

#include "engine/core/GrowArray.h"
#include "engine/render/BlendMode.h"
#include "engine/render/FrameStatistics.h"
#include "engine/render/Sprite.h"
#include "engine/resources/Texture.h"

#include <d3d9.h>

void setTexturedQuadStage(IDirect3DDevice9* device);

// `vertices` holds kVerticesPerQuad vertices per queued item, in queue order.
template <class Item, class Vertex>
void drawQuadRuns(IDirect3DDevice9* device, const GrowArray<Item*>& queue,
                  const GrowArray<Vertex>& vertices, FrameStatistics& statistics) {
    const int count = queue.count();
    int first = 0;
    for (int i = 0; i < count; ++i) {
        const Item& head = *queue[first];
        if (i + 1 < count && queue[i + 1]->texture == head.texture &&
            queue[i + 1]->blendMode == head.blendMode) {
            continue;
        }
        applyBlendMode(device, head.blendMode);
        if (head.texture != nullptr) {
            head.texture->bind(0, 0, 0);
        }
        const int quads = i - first + 1;
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(2 * quads),
                                &vertices[first * kVerticesPerQuad], sizeof(Vertex));
        statistics.addDraw(static_cast<uint32_t>(2 * quads));
        first = i + 1;
    }
}

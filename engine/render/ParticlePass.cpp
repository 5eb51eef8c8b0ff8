// The particle pass: camera-facing squares sorted far to near, drawn from one vertex array with
// one draw per run of particles that share texture and blend mode.
#include "engine/render/RenderEngine.h"

#include "engine/render/BlendMode.h"
#include "engine/resources/Texture.h"

#include <d3d9.h>

void RenderEngine::particlePass() {
    if (particleQueue.empty() || !particleVertexShader.ready()) {
        return;
    }
    computeDepthKeys(particleQueue, camera.viewProjection());
    sortParticlesFarToNear(particleQueue);
    particleVertices.clear();
    for (const Particle* particle : particleQueue) {
        appendParticleVertices(particleVertices, *particle);
    }

    IDirect3DDevice9* device = m_device;
    particleVertexShader.bind();
    particleVertexShader.setCamera(camera);
    // Tested against the scene's depth but not written: depth writes are still off.
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetFVF(kParticleFvf);
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);

    const int count = particleQueue.count();
    int first = 0;
    for (int i = 0; i < count; ++i) {
        const Particle& head = *particleQueue[first];
        if (i + 1 < count && particleQueue[i + 1]->texture == head.texture &&
            particleQueue[i + 1]->blendMode == head.blendMode) {
            continue;
        }
        applyBlendMode(device, head.blendMode);
        if (head.texture != nullptr) {
            head.texture->bind(0, 0, 0);
        }
        const int particles = i - first + 1;
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(2 * particles),
                                &particleVertices[first * kVerticesPerQuad],
                                sizeof(ParticleVertex));
        first = i + 1;
    }

    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
}

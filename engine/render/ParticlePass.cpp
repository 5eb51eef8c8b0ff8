// The particle pass: camera-facing squares sorted far to near, drawn from one vertex array with
// one draw per run of particles that share texture and blend mode.
#include "engine/render/RenderEngine.h"

#include "engine/render/QuadRuns.h"

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
    setTexturedQuadStage(device);
    drawQuadRuns(device, particleQueue, particleVertices, statistics);

    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
}

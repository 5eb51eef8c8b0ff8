#pragma once

#include "engine/core/GrowArray.h"
#include "engine/core/Matrix4.h"
#include "engine/render/AlphaPixelShader.h"
#include "engine/render/FrameStatistics.h"
#include "engine/render/Frustum.h"
#include "engine/render/GlowPixelShader.h"
#include "engine/render/GlowVertexShader.h"
#include "engine/render/NormalMapVertexShader.h"
#include "engine/render/NullVertexShader.h"
#include "engine/render/Particle.h"
#include "engine/render/ParticleVertexShader.h"
#include "engine/render/RenderCamera.h"
#include "engine/render/ScreenQuad.h"
#include "engine/render/Sprite.h"

#include <cstdint>

class Material;
class SceneObject;
struct DrawEntry;
struct Light;
struct IDirect3DDevice9;
struct IDirect3DSurface9;
struct IDirect3DTexture9;
struct IDirect3DVolumeTexture9;

// Turns the scene into a picture. The scene and the timeline fill its per-frame queues; the
// frame routine draws them in a fixed pass order and turns the queues over.
class RenderEngine {
public:
    RenderEngine() = default;
    ~RenderEngine() { release(); }
    RenderEngine(const RenderEngine&) = delete;
    RenderEngine& operator=(const RenderEngine&) = delete;

    // Compiles the shader programs and creates the device resources for a back buffer of
    // screenWidth x screenHeight pixels. The device must outlive the engine's use of it.
    void init(IDirect3DDevice9* device, int screenWidth, int screenHeight);
    // Gives back the device resources and the shader programs. Safe to call more than once.
    void release();

    // Enters the object into its material's draw list for this frame (nothing for an object
    // without material) and the material into the material queue.
    void submitObject(SceneObject* object, const Matrix4& world);
    void addLight(Light* light) { lightQueue.append(light); }
    void addSprite(Sprite* sprite) { spriteQueue.append(sprite); }
    void addParticle(Particle* particle) { particleQueue.append(particle); }

    // Draws one frame. fadeAmount 0 draws no fade, 1 only clears to fadeColour; the fade
    // colour's alpha is not used.
    void renderFrame(const Vec4& fadeColour, float fadeAmount);

    // Counts the frame and empties the per-frame queues, keeping their storage.
    void endFrame();

    // The passes, in frame order. Each sets the states it relies on; see the pass files.
    void ambientPass();
    void lightPass();
    void baseTexturePass();
    void particlePass();
    void glowPass();
    void spritePass();
    void fadePass(const Vec4& fadeColour, float amount);

    // Clears the visible flag of draw entries outside the frustum and assigns every queued
    // light that the frustum does not reject to the entries it reaches.
    void cullAndAssignLights();

    // Appends `light` to each draw entry of `material` whose object's bounding box its sphere
    // reaches, visible or not.
    static void assignLight(Material& material, Light* light);

    int screenWidth() const { return m_screenWidth; }
    int screenHeight() const { return m_screenHeight; }
    IDirect3DDevice9* device() const { return m_device; }

    GrowArray<Material*> materialQueue;
    GrowArray<Light*> lightQueue;
    GrowArray<Sprite*> spriteQueue;
    GrowArray<Particle*> particleQueue;
    RenderCamera camera;
    Frustum frustum;
    GrowArray<SpriteVertex> spriteVertices;
    GrowArray<ParticleVertex> particleVertices;
    ScreenQuadVertex screenQuad[kScreenQuadVertexCount] = {};
    ScreenQuadVertex uprightScreenQuad[kScreenQuadVertexCount] = {};
    IDirect3DVolumeTexture9* attenuationVolume = nullptr;
    int32_t glowWidth = 0;
    int32_t glowHeight = 0;
    IDirect3DTexture9* glowTextureA = nullptr;
    IDirect3DSurface9* glowSurfaceA = nullptr;
    IDirect3DTexture9* glowTextureB = nullptr;
    IDirect3DSurface9* glowSurfaceB = nullptr;
    IDirect3DSurface9* backBufferSurface = nullptr;
    uint32_t frameCounter = 0;
    // The draws of the frame being drawn, and of the last frame turned over.
    FrameStatistics statistics;
    FrameStatistics lastFrameStatistics;
    Vec4 ambientColour;
    Vec4 backgroundColour;
    Vec4 glowColour;
    bool glowEnabled = false;
    float blurAmount = 0.0f;
    NullVertexShader nullVertexShader;
    NormalMapVertexShader normalMapVertexShader;
    GlowVertexShader glowVertexShader;
    GlowPixelShader glowPixelShader;
    AlphaPixelShader alphaPixelShader;
    ParticleVertexShader particleVertexShader;

private:
    void createShaderPrograms();
    void createGlowTargets();
    void clearScreen(const Vec4& colour);
    // Whether a self-illuminated material is queued. Without one the glow target would stay
    // black, and adding black onto the screen changes no pixel: the glow pass is skipped.
    bool anythingGlows() const;
    void setCommonStates();
    void drawIntoGlowTarget(const Material& material);
    void addGlowToScreen();
    void drawScreenQuad(const ScreenQuadVertex* quad);

    // Sets the world transform and draws subset 0 of the entry's mesh, when the entry is
    // visible and its object was submitted in the material's current frame.
    void drawEntry(const Material& material, const DrawEntry& entry);

    IDirect3DDevice9* m_device = nullptr;
    int m_screenWidth = 0;
    int m_screenHeight = 0;
};

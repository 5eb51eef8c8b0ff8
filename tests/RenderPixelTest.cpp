// The picture the passes make on the device stand-in, read back from the back buffer.
#include "D3d9TestDevice.h"

#include "engine/render/RenderEngine.h"
#include "engine/resources/ProgramDevice.h"
#include "engine/resources/Texture.h"
#include "engine/scene/Light.h"
#include "engine/scene/Material.h"
#include "engine/scene/MeshVertex.h"
#include "engine/scene/SceneObject.h"

#include <d3d9.h>
#include <d3dx9.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Rgb {
    int r, g, b;
};

// A square of side 2 in the plane z = 0 facing the camera at -z: u runs along +x, v down the
// screen; tangent +x, binormal -y, normal -z.
ID3DXMesh* createQuad(IDirect3DDevice9* device) {
    ID3DXMesh* mesh = nullptr;
    if (FAILED(D3DXCreateMesh(2, 4, D3DXMESH_MANAGED, kMeshVertexDeclaration, device, &mesh))) {
        return nullptr;
    }
    MeshVertex* vertices = nullptr;
    mesh->LockVertexBuffer(0, reinterpret_cast<void**>(&vertices));
    const float corners[4][2] = {{-1, 1}, {1, 1}, {-1, -1}, {1, -1}};
    for (int i = 0; i < 4; ++i) {
        MeshVertex& v = vertices[i];
        v = MeshVertex{};
        v.position[0] = corners[i][0];
        v.position[1] = corners[i][1];
        v.normal[2] = -1.0f;
        v.u = (corners[i][0] + 1) / 2;
        v.v = (1 - corners[i][1]) / 2;
        v.tangent[0] = 1.0f;
        v.binormal[1] = -1.0f;
    }
    mesh->UnlockVertexBuffer();
    WORD* indices = nullptr;
    mesh->LockIndexBuffer(0, reinterpret_cast<void**>(&indices));
    // Counter-clockwise on screen: the frame culls clockwise triangles.
    const WORD order[6] = {0, 2, 3, 0, 3, 1};
    std::copy(order, order + 6, indices);
    mesh->UnlockIndexBuffer();
    DWORD* attributes = nullptr;
    if (SUCCEEDED(mesh->LockAttributeBuffer(0, &attributes))) {
        attributes[0] = attributes[1] = 0;
        mesh->UnlockAttributeBuffer();
    }
    return mesh;
}

Matrix4 placed(float scale, float x, float y, float z) {
    Matrix4 m;
    m.m[0][0] = m.m[1][1] = m.m[2][2] = scale;
    m.m[3][0] = x;
    m.m[3][1] = y;
    m.m[3][2] = z;
    return m;
}

class RenderPixels : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(chdir(TARNELIX_DATA_DIR), 0);
        ASSERT_TRUE(m_screen.ok());
        device = m_screen.device;
        setProgramDevice(device);
        engine.init(device, kWidth, kHeight);
        ASSERT_TRUE(engine.nullVertexShader.ready());
    }

    void TearDown() override {
        engine.release();
        objects.clear();
        for (Texture& texture : textures) {
            texture.release();
        }
        setProgramDevice(nullptr);
    }

    Material& addMaterial(const Vec4& diffuse, const Vec4& glow) {
        Material& material = materials.emplace_back();
        material.diffuseColor = diffuse;
        material.glowColor = glow;
        material.normalMap = flatNormalMap();
        return material;
    }

    void addQuad(Material& material, const Matrix4& world) {
        SceneObject& object = objects.emplace_back();
        object.mesh = createQuad(device);
        object.boundsMin = Vec4(-1, -1, -0.01f, 1);
        object.boundsMax = Vec4(1, 1, 0.01f, 1);
        object.attachMaterial(&material);
        worlds.push_back(world);
    }

    // A texture whose texel at (x, y) of a 64 x 64 image is texel(x, y) as A8R8G8B8.
    Texture* addTexture(const std::function<D3DCOLOR(int, int)>& texel) {
        IDirect3DTexture9* d3dTexture = nullptr;
        device->CreateTexture(64, 64, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &d3dTexture, nullptr);
        D3DLOCKED_RECT rect = {};
        if (d3dTexture != nullptr && SUCCEEDED(d3dTexture->LockRect(0, &rect, nullptr, 0))) {
            for (int y = 0; y < 64; ++y) {
                auto* row =
                    reinterpret_cast<D3DCOLOR*>(static_cast<char*>(rect.pBits) + y * rect.Pitch);
                for (int x = 0; x < 64; ++x) {
                    row[x] = texel(x, y);
                }
            }
            d3dTexture->UnlockRect(0);
        }
        Texture& texture = textures.emplace_back();
        texture.adopt(d3dTexture);
        return &texture;
    }

    Texture* flatNormalMap() {
        if (m_flatNormalMap == nullptr) {
            m_flatNormalMap = addTexture([](int, int) { return 0xFF8080FFu; });
        }
        return m_flatNormalMap;
    }

    // Draws one frame through the camera at (0, 0, -10) looking at the origin, then reads the
    // back buffer.
    void draw(const Vec4& fadeColour = Vec4(0, 0, 0, 1), float fadeAmount = 0.0f) {
        engine.camera.setProjection(1.57079632679f, static_cast<float>(kWidth) / kHeight);
        engine.camera.setView(Vec4(0, 0, -10, 1), Vec4(0, 0, 0, 1), Vec4(0, 1, 0, 1));
        for (size_t i = 0; i < objects.size(); ++i) {
            engine.submitObject(&objects[i], worlds[i]);
        }
        for (Light& light : lights) {
            engine.addLight(&light);
        }
        engine.renderFrame(fadeColour, fadeAmount);
        readBack();
    }

    void readBack() {
        IDirect3DSurface9* back = nullptr;
        device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
        ASSERT_NE(back, nullptr);
        m_pixels = m_screen.read(back);
        back->Release();
        ASSERT_EQ(m_pixels.size(), static_cast<size_t>(kWidth * kHeight));
    }

    Rgb pixel(int x, int y) const {
        const uint32_t p = m_pixels[static_cast<size_t>(y * kWidth + x)];
        return Rgb{static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                   static_cast<int>(p & 0xFF)};
    }

    IDirect3DDevice9* device = nullptr;
    RenderEngine engine;
    std::deque<Material> materials;
    std::deque<SceneObject> objects;
    std::vector<Matrix4> worlds;
    std::deque<Light> lights;
    std::deque<Texture> textures;

private:
    tarnelix::test::TestDevice m_screen{kWidth, kHeight, D3DFMT_X8R8G8B8};
    Texture* m_flatNormalMap = nullptr;
    std::vector<uint32_t> m_pixels;
};

#define EXPECT_RGB_NEAR(actual, red, green, blue, tolerance)                                       \
    do {                                                                                           \
        const Rgb rgb_ = (actual);                                                                 \
        EXPECT_NEAR(rgb_.r, red, tolerance);                                                       \
        EXPECT_NEAR(rgb_.g, green, tolerance);                                                     \
        EXPECT_NEAR(rgb_.b, blue, tolerance);                                                      \
    } while (0)

} // namespace

TEST_F(RenderPixels, AmbientPlusDiffuseTimesGlowColourTimesTexture) {
    engine.ambientColour = Vec4(0.2f, 0.2f, 0.2f, 1);
    Material& material = addMaterial(Vec4(0.1f, 0.1f, 0.1f, 1), Vec4(1.0f, 0.5f, 1.0f, 1));
    material.colorTexture = addTexture([](int, int) { return 0xFFFFFF80u; });
    addQuad(material, placed(3, 0, 0, 0));
    draw();
    // 0.3 x (1, 0.5, 1) x (1, 1, 0.5)
    EXPECT_RGB_NEAR(pixel(320, 240), 76, 38, 38, 3);
    EXPECT_RGB_NEAR(pixel(5, 5), 0, 0, 0, 0);
}

TEST_F(RenderPixels, SelfIlluminatedTexelIsLiftedToWhiteByItsAlpha) {
    engine.ambientColour = Vec4(0.2f, 0.2f, 0.2f, 1);
    Material& material = addMaterial(Vec4(0, 0, 0, 1), Vec4(1, 1, 1, 1));
    material.selfIllum = true;
    // Opaque alpha on the left half, none on the right.
    material.colorTexture =
        addTexture([](int x, int) { return x < 32 ? 0xFF8040FFu : 0x008040FFu; });
    addQuad(material, placed(3, 0, 0, 0));
    draw();
    EXPECT_RGB_NEAR(pixel(280, 240), 128, 64, 255, 3); // texture x white
    EXPECT_RGB_NEAR(pixel(360, 240), 26, 13, 51, 3);   // texture x ambient 0.2
}

TEST_F(RenderPixels, CutOutDiscardsAlpha128AndKeeps129) {
    engine.backgroundColour = Vec4(0, 1, 0, 1);
    engine.ambientColour = Vec4(1, 1, 1, 1);
    Material& material = addMaterial(Vec4(0, 0, 0, 1), Vec4(1, 1, 1, 1));
    material.alphaTest = true;
    material.colorTexture =
        addTexture([](int x, int) { return x < 32 ? 0x80FF0000u : 0x81FF0000u; });
    addQuad(material, placed(3, 0, 0, 0));
    draw();
    EXPECT_RGB_NEAR(pixel(280, 240), 0, 255, 0, 2); // discarded: the background shows
    EXPECT_RGB_NEAR(pixel(360, 240), 255, 0, 0, 2); // kept
}

TEST_F(RenderPixels, LightIsFullAtTheLightAndAboutFourPercentAtItsRadius) {
    // Unscaled: the falloff coordinates are object-space offsets times 1 / radius.
    Material& material = addMaterial(Vec4(0, 0, 0, 1), Vec4(1, 1, 1, 1));
    addQuad(material, placed(1, 0, 0, 0));
    Light& light = lights.emplace_back();
    light.color = Vec4(1, 1, 1, 1);
    // The light direction is made per vertex: far from the quad compared with its size, every
    // vertex sees the light almost straight on (0.96), and a huge radius leaves no falloff.
    light.radius = 500.0f;
    light.position = Vec4(0, 0, -5.0f, 1);
    draw();
    EXPECT_GE(pixel(320, 240).r, 235);
    light.radius = 5.0f;
    light.position = Vec4(0, 0, -4.99f, 1); // the surface below it lies at the radius
    draw();
    EXPECT_NEAR(pixel(320, 240).r, 11, 4); // 0.96 x 255 / (1 + 22) = 10.6
}

TEST_F(RenderPixels, GlowSpreadsAroundAGlowingObject) {
    Material& glowing = addMaterial(Vec4(0, 0, 0, 1), Vec4(1, 0, 0, 1));
    glowing.selfIllum = true;
    addQuad(glowing, placed(1, 0, 0, 0));
    engine.glowEnabled = true;
    engine.blurAmount = 0.012f;
    draw();
    EXPECT_RGB_NEAR(pixel(320, 240), 255, 0, 0, 2);
    const int beside = pixel(347, 240).r; // three pixels right of the quad's edge at 344
    EXPECT_GT(beside, 8);
    engine.glowColour = Vec4(2, 2, 2, 1);
    draw();
    EXPECT_NEAR(pixel(347, 240).r, std::min(255, 2 * beside), 4);
    engine.glowEnabled = false;
    draw();
    EXPECT_EQ(pixel(347, 240).r, 0);
}

TEST_F(RenderPixels, GlowIsHiddenByAnOccluderInFront) {
    Material& glowing = addMaterial(Vec4(0, 0, 0, 1), Vec4(1, 0, 0, 1));
    glowing.selfIllum = true;
    addQuad(glowing, placed(1, 0, 0, 0));
    Material& wall = addMaterial(Vec4(0, 0, 0, 1), Vec4(1, 1, 1, 1));
    addQuad(wall, placed(3, 0, 0, -1));
    engine.glowEnabled = true;
    engine.blurAmount = 0.012f;
    draw();
    EXPECT_LE(pixel(320, 240).r, 2);
    EXPECT_LE(pixel(347, 240).r, 2);
}

TEST_F(RenderPixels, FadeHalvesTheBrightness) {
    engine.backgroundColour = Vec4(0.8f, 0.8f, 0.8f, 1);
    draw();
    EXPECT_RGB_NEAR(pixel(100, 100), 204, 204, 204, 1);
    draw(Vec4(0, 0, 0, 1), 0.5f);
    EXPECT_RGB_NEAR(pixel(100, 100), 102, 102, 102, 2);
}

TEST_F(RenderPixels, FullScreenSpriteCoversTheScreen) {
    Texture* white = addTexture([](int, int) { return 0xFFFFFFFFu; });
    Sprite sprite;
    sprite.texture = white;
    sprite.colour = Vec4(1, 1, 1, 1);
    sprite.topLeft = Vec4(0, 0, 0, 1);
    sprite.bottomRight = Vec4(1, 1, 0, 1);
    engine.addSprite(&sprite);
    draw();
    EXPECT_RGB_NEAR(pixel(0, 0), 255, 255, 255, 0);
    EXPECT_RGB_NEAR(pixel(320, 240), 255, 255, 255, 0);
    EXPECT_RGB_NEAR(pixel(638, 478), 255, 255, 255, 0);
}

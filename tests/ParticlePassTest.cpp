#include "RenderFixture.h"

#include <algorithm>
#include <cstring>

namespace {

class ParticlePass : public RenderFixture {
protected:
    Particle& addParticle(float z, Texture* texture, int32_t blendMode) {
        Particle& particle = particles.emplace_back();
        particle.position = Vec4(0, 0, z, 1);
        particle.texture = texture;
        particle.blendMode = blendMode;
        particle.colour = Vec4(1, 1, 1, 1);
        return particle;
    }
    std::vector<std::string> run() {
        queueScene();
        for (Particle& particle : particles) {
            engine.addParticle(&particle);
        }
        device.clearCalls();
        engine.particlePass();
        return calls();
    }
    std::vector<std::string> draws(const std::vector<std::string>& all) {
        std::vector<std::string> result;
        for (const std::string& call : all) {
            if (call.rfind("Draw", 0) == 0 || call.rfind("SetTexture(", 0) == 0) {
                result.push_back(call);
            }
        }
        return result;
    }
    std::deque<Particle> particles;
};

} // namespace

TEST_F(ParticlePass, EmptyQueueTouchesNothing) {
    EXPECT_TRUE(run().empty());
}

TEST_F(ParticlePass, OneParticleOneDrawAndStatesRestored) {
    addParticle(5, addTexture("spark"), 1);
    const std::vector<std::string> expected = {
        "SetVertexShader(ParticleVS)",
        renderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL),
        renderState(D3DRS_CULLMODE, D3DCULL_NONE),
        "SetFVF(0x20142)",
        stageState(0, D3DTSS_TEXCOORDINDEX, 0),
        stageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE),
        stageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE),
        stageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE),
        stageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE),
        stageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE),
        stageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE),
        renderState(D3DRS_ALPHABLENDENABLE, TRUE),
        renderState(D3DRS_SRCBLEND, D3DBLEND_ONE),
        renderState(D3DRS_DESTBLEND, D3DBLEND_ONE),
        setTexture(0, "spark"),
        samplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP),
        samplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP),
        drawUp(2, 32),
        renderState(D3DRS_CULLMODE, D3DCULL_CW),
        renderState(D3DRS_ALPHABLENDENABLE, FALSE),
    };
    EXPECT_EQ(run(), expected);
}

TEST_F(ParticlePass, RunsAfterSortingShareOneDraw) {
    Texture* smoke = addTexture("smoke");
    Texture* fire = addTexture("fire");
    addParticle(1, smoke, 3); // nearest, drawn last
    addParticle(30, fire, 1);
    addParticle(20, smoke, 3);
    addParticle(10, smoke, 3);
    EXPECT_EQ(draws(run()), (std::vector<std::string>{setTexture(0, "fire"), drawUp(2, 32),
                                                      setTexture(0, "smoke"), drawUp(6, 32)}));
    // The second draw starts at the second particle's vertices, far to near.
    ParticleVertex first;
    std::memcpy(&first, device.lastVertices.data(), sizeof first);
    EXPECT_EQ(first.centreZ, 20.0f);
}

TEST_F(ParticlePass, AlternatingTexturesDrawInDepthOrder) {
    Texture* a = addTexture("a");
    Texture* b = addTexture("b");
    addParticle(10, a, 1); // C, nearest
    addParticle(30, a, 1); // A, farthest
    addParticle(20, b, 1); // B
    EXPECT_EQ(draws(run()),
              (std::vector<std::string>{setTexture(0, "a"), drawUp(2, 32), setTexture(0, "b"),
                                        drawUp(2, 32), setTexture(0, "a"), drawUp(2, 32)}));
}

TEST_F(ParticlePass, NullTextureBindsNothingAndOddModeKeepsFactors) {
    addParticle(5, nullptr, 7);
    const std::vector<std::string> all = run();
    EXPECT_EQ(draws(all), (std::vector<std::string>{drawUp(2, 32)}));
    EXPECT_EQ(std::count(all.begin(), all.end(), renderState(D3DRS_ALPHABLENDENABLE, TRUE)), 1);
    for (const std::string& call : all) {
        EXPECT_EQ(call.find("SRCBLEND"), std::string::npos);
    }
}

#pragma once

// Stand-ins for the engine, the scene and the texture cache that record what the timeline does
// to them, in order.

#include "app/Timeline.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

struct FakeTexture {
    std::string name;
};

struct FakeSprite {
    FakeTexture* texture = nullptr;
    int32_t blendMode = -1;
    Vec4 colour;
    Vec4 topLeft;
    Vec4 bottomRight;
};

// Everything the timeline does to the engine, the scene and the host, in order.
struct Call {
    enum Kind { Load, Sprite, Render, EndFrame, Camera, Lights, Objects, Rewind, Present, Segment };
    Kind kind;
    float value = 0.0f; // render: fade amount; updates: time step; segment: index
    Vec4 colour;
    std::string text; // texture or camera name
    float aspect = 0.0f;

    Call(Kind kind_, float value_ = 0.0f, Vec4 colour_ = Vec4(), std::string text_ = "",
         float aspect_ = 0.0f)
        : kind(kind_), value(value_), colour(colour_), text(std::move(text_)), aspect(aspect_) {}
};

struct FakeEngine {
    explicit FakeEngine(std::vector<Call>* log_) : log(log_) {}
    std::vector<Call>* log;
    Vec4 backgroundColour;
    Vec4 ambientColour;
    int screenWidth() const { return 1024; }
    int screenHeight() const { return 768; }
    void addSprite(FakeSprite* sprite) {
        EXPECT_EQ(sprite->blendMode, 0);
        EXPECT_EQ(sprite->colour, Vec4(1, 1, 1, 1));
        EXPECT_EQ(sprite->topLeft, Vec4(0, 0, 0, 1));
        EXPECT_EQ(sprite->bottomRight, Vec4(1, 1, 0, 1));
        log->push_back({Call::Sprite, 0.0f, {}, sprite->texture->name});
    }
    void renderFrame(const Vec4& colour, float amount) {
        log->push_back({Call::Render, amount, colour, ""});
    }
    // A frame turned over without drawing.
    void endFrame() { log->push_back({Call::EndFrame}); }
};

struct FakeScene {
    std::vector<Call>* log;
    void load(const char* name) { log->push_back({Call::Load, 0.0f, {}, name}); }
    void updateCamera(FakeEngine&, const Matrix4&, const char* name, float dt, float aspect) {
        log->push_back({Call::Camera, dt, {}, name, aspect});
    }
    void updateLights(FakeEngine&, const Matrix4&, float dt) { log->push_back({Call::Lights, dt}); }
    void updateObjects(FakeEngine&, const Matrix4&, float dt) {
        log->push_back({Call::Objects, dt});
    }
    void rewind() { log->push_back({Call::Rewind}); }
};

struct FakeTextureCache {
    std::map<std::string, FakeTexture> textures;
    FakeTexture* get(const char* name) {
        FakeTexture& texture = textures[name];
        texture.name = name;
        return &texture;
    }
};

struct FakeShow {
    using Engine = FakeEngine;
    using Scene = FakeScene;
    using Sprite = FakeSprite;
    using TextureCache = FakeTextureCache;
    static void loadScene(FakeScene& scene, const char* name, FakeTextureCache&) {
        scene.load(name);
    }
};

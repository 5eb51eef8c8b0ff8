#pragma once

#include "app/CameraSegment.h"
#include "app/FrameHost.h"
#include "app/ShowScript.h"
#include "app/SplashSegment.h"
#include "engine/core/Vec4.h"

#include <cstdint>
#include <memory>

// The show's script: five segments played in order.
struct SegmentPlan {
    enum class Kind { Splash, Camera };
    Kind kind;
    const char* content; // image file of a splash, camera name of a camera segment
    float duration;
    float fadeInTime;
    float fadeOutTime;
    float startTime; // camera segments only
};

constexpr int kSegmentCount = 5;
constexpr SegmentPlan kShowSegments[kSegmentCount] = {
    {SegmentPlan::Kind::Splash, "intro.jpg", 10.0f, 4.0f, 4.0f, 0.0f},
    {SegmentPlan::Kind::Camera, "Camera01", 25.0f, 2.0f, 2.0f, 0.0f},
    {SegmentPlan::Kind::Camera, "Camera02", 35.0f, 2.0f, 2.0f, 25.0f},
    {SegmentPlan::Kind::Camera, "Camera03", 60.0f, 2.0f, 2.0f, 0.0f},
    {SegmentPlan::Kind::Splash, "extro.jpg", 10.0f, 4.0f, 4.0f, 0.0f},
};

constexpr const char* kSceneFileName = "teste5.3df";
constexpr const char* kMusicFileName = "preview1.mp3";
// The engine's colours from the first camera segment on.
inline const Vec4 kShowBackground(0.7f, 0.9f, 0.9f, 1.0f);
inline const Vec4 kShowAmbient(0.275f, 0.275f, 0.275f, 1.0f);
// A frame that took longer than this counts as this long, so a stall never makes the
// animation or a fade jump.
constexpr float kLongestFrame = 0.1f;
// The frame time assumed where no tick counter is available.
constexpr float kFrameTimeWithoutCounter = 1.0f / 60.0f;

// Plays a show script (the built-in one unless another is given) on an engine. `Show` names
// the engine, scene, sprite and texture cache types and says how the scene is loaded
// (ShowTypes.h for the program, stand-ins in tests). Loads the scene, then runs each segment's
// frame loop until its time runs out or the quit message arrives. Frames are presented at the
// top of the following iteration, and the frame clock is never reset between segments.
template <class Show> class TimelineOf {
public:
    using Engine = typename Show::Engine;
    using Scene = typename Show::Scene;
    using TextureCache = typename Show::TextureCache;
    using SplashSegment = SplashSegmentOf<Show>;
    using CameraSegment = CameraSegmentOf<Show>;

    // `script` must outlive the timeline.
    TimelineOf(Engine& engine, Scene& scene, TextureCache& textures, FrameHost& host,
               const ShowScript& script = builtInShow())
        : m_engine(engine), m_scene(scene), m_textures(textures), m_host(host), m_script(script) {}

    void run() {
        Show::loadScene(m_scene, m_script.scene.c_str(), m_textures);
        startClock();
        for (size_t i = 0; i < m_script.segments.size(); ++i) {
            m_host.segmentStarting(static_cast<int>(i));
            const ShowSegment& plan = m_script.segments[i];
            bool quit =
                plan.kind == ShowSegment::Kind::Splash ? !playSplash(plan) : !playCamera(plan);
            if (quit) {
                return;
            }
        }
    }

    // The time step that the next segment's first step receives.
    float frameTime() const { return m_dt; }

private:
    bool playSplash(const ShowSegment& plan) {
        SplashSegment splash;
        splash.sprite.topLeft = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
        splash.sprite.bottomRight = Vec4(1.0f, 1.0f, 0.0f, 1.0f);
        splash.sprite.blendMode = 0;
        splash.sprite.texture = m_textures.get(plan.content.c_str());
        splash.duration = plan.duration;
        splash.fadeInTime = plan.fadeInTime;
        splash.fadeOutTime = plan.fadeOutTime;
        return play(splash);
    }

    bool playCamera(const ShowSegment& plan) {
        if (!m_camera) {
            m_engine.backgroundColour = m_script.background;
            m_engine.ambientColour = m_script.ambient;
            m_camera = std::make_unique<CameraSegment>();
            m_camera->scene = &m_scene;
        } else {
            if (plan.rewinds) {
                m_scene.rewind();
            }
            m_camera->elapsed = 0.0f;
            m_camera->firstFrame = true;
        }
        m_camera->cameraName = plan.content;
        m_camera->startTime = plan.rewinds ? plan.startTime : 0.0f;
        m_camera->duration = plan.duration;
        m_camera->fadeInTime = plan.fadeInTime;
        m_camera->fadeOutTime = plan.fadeOutTime;
        return play(*m_camera);
    }

    // One segment: its first step with the current frame time, then the frame loop. False when
    // the quit message ended it.
    template <class Segment> bool play(Segment& segment) {
        if (!segment.step(m_engine, m_dt, m_host.drawsNextFrame())) {
            return true;
        }
        for (;;) {
            if (!m_host.pumpMessage()) {
                return false;
            }
            m_host.present();
            m_dt = timeFrame();
            if (!segment.step(m_engine, m_dt, m_host.drawsNextFrame())) {
                return true;
            }
        }
    }

    void startClock() {
        m_hasCounter = m_host.queryFrequency(m_frequency) && m_frequency > 0;
        if (m_hasCounter) {
            m_host.queryCounter(m_start);
        }
        m_dt = 0.0f;
    }

    float timeFrame() {
        if (!m_hasCounter) {
            return kFrameTimeWithoutCounter;
        }
        if (!m_timed) {
            m_timed = true;
            m_previous = m_start;
        }
        int64_t current = m_previous;
        m_host.queryCounter(current);
        float dt = static_cast<float>(static_cast<double>(current - m_previous) /
                                      static_cast<double>(m_frequency));
        m_previous = current;
        if (dt > kLongestFrame) {
            dt = kLongestFrame;
        }
        return dt < 0.0f ? 0.0f : dt;
    }

    Engine& m_engine;
    Scene& m_scene;
    TextureCache& m_textures;
    FrameHost& m_host;
    const ShowScript& m_script;
    std::unique_ptr<CameraSegment> m_camera;
    int64_t m_frequency = 0;
    int64_t m_start = 0;
    int64_t m_previous = 0;
    bool m_hasCounter = false;
    bool m_timed = false;
    float m_dt = 0.0f;
};

#include "engine/scene/Scene.h"

#include "engine/render/RenderEngine.h"

#include <cstring>

namespace {

const Vec4 kUp(0.0f, 1.0f, 0.0f, 1.0f);

Vec4 asPoint(const Vec4& v) {
    return Vec4(v.x, v.y, v.z, 1.0f);
}

} // namespace

Camera* Scene::findCamera(const char* name) {
    if (cameras.empty()) {
        return nullptr;
    }
    for (Camera& camera : cameras) {
        if (std::strcmp(camera.name, name) == 0) {
            return &camera;
        }
    }
    return &cameras[0];
}

void Scene::updateCamera(RenderEngine& engine, const Matrix4& parent, const char* cameraName,
                         float dt, float aspect) {
    // Without cameras the engine keeps whatever view it had.
    Camera* camera = findCamera(cameraName);
    if (camera == nullptr) {
        return;
    }
    Vec4 eye = camera->eye;
    Vec4 target = camera->target;
    float fov = camera->fov;
    if (camera->animated) {
        camera->eyeTrack.advance(dt);
        camera->targetTrack.advance(dt);
        camera->fovTrack.advance(dt);
        eye = camera->eyeTrack.evaluate(FloatTrack::Linear);
        target = camera->targetTrack.evaluate(FloatTrack::Linear);
        fov = camera->fovTrack.evaluate(FloatTrack::Linear);
    }
    eye = parent.transform(asPoint(eye));
    target = parent.transform(asPoint(target));
    engine.camera.setProjection(fov, aspect);
    engine.camera.setView(asPoint(eye), asPoint(target), kUp);
}

void Scene::updateLights(RenderEngine& engine, const Matrix4& parent, float dt) {
    for (Light& light : lights) {
        if (light.animated) {
            light.positionTrack.advance(dt);
            light.colorTrack.advance(dt);
            light.radiusTrack.advance(dt);
            light.position =
                parent.transform(asPoint(light.positionTrack.evaluate(FloatTrack::Linear)));
            light.color = light.colorTrack.evaluate(FloatTrack::Linear);
            light.radius = light.radiusTrack.evaluate(FloatTrack::Linear);
        } else {
            light.position = parent.transform(asPoint(light.staticPosition));
            light.color = light.staticColor;
            light.radius = light.staticRadius;
        }
        engine.addLight(&light);
    }
}

void Scene::updateObjects(RenderEngine& engine, const Matrix4& parent, float dt) {
    for (SceneObject& object : objects) {
        engine.submitObject(&object, object.animate(parent, dt));
    }
}

void Scene::rewind() {
    for (SceneObject& object : objects) {
        object.rewind();
    }
    for (Light& light : lights) {
        light.positionTrack.rewind();
        light.colorTrack.rewind();
        light.radiusTrack.rewind();
    }
    for (Camera& camera : cameras) {
        camera.eyeTrack.rewind();
        camera.targetTrack.rewind();
        camera.fovTrack.rewind();
    }
}

void Scene::release() {
    // Objects go before materials: detaching touches the material's object list.
    for (SceneObject& object : objects) {
        object.releaseTracks();
        object.releaseMesh();
        object.detachMaterial();
    }
    cameras.destroyAll();
    lights.destroyAll();
    objects.destroyAll();
    materials.destroyAll();
    sceneTrack1.resize(0);
    sceneTrack2.resize(0);
    frameCount = 0;
}

#include "engine/scene/SceneObject.h"

#include "engine/scene/Material.h"
#include "engine/scene/Placement.h"

#include <d3dx9.h>

#include <utility>

SceneObject::~SceneObject() {
    releaseMesh();
}

SceneObject::SceneObject(SceneObject&& o) noexcept {
    *this = std::move(o);
}

SceneObject& SceneObject::operator=(SceneObject&& o) noexcept {
    if (this != &o) {
        releaseMesh();
        mesh = std::exchange(o.mesh, nullptr);
        material = o.material;
        drawnFrame = o.drawnFrame;
        boundsMin = o.boundsMin;
        boundsMax = o.boundsMax;
        matrix = o.matrix;
        animated = o.animated;
        positionTrack = std::move(o.positionTrack);
        axisTrack = std::move(o.axisTrack);
        angleTrack = std::move(o.angleTrack);
    }
    return *this;
}

void SceneObject::attachMaterial(Material* newMaterial) {
    if (material != nullptr) {
        detachMaterial();
    }
    if (material != newMaterial) {
        newMaterial->objects.append(this);
        material = newMaterial;
    }
}

void SceneObject::detachMaterial() {
    if (material == nullptr) {
        return;
    }
    GrowArray<SceneObject*>& list = material->objects;
    for (int i = 0; i < list.count(); ++i) {
        if (list[i] == this) {
            list.removeAt(i);
            material = nullptr;
            return;
        }
    }
}

void SceneObject::releaseMesh() {
    if (mesh != nullptr) {
        mesh->Release();
        mesh = nullptr;
    }
}

Matrix4 SceneObject::animate(const Matrix4& parent, float dt) {
    if (!animated) {
        return matrix * parent;
    }
    positionTrack.advance(dt);
    axisTrack.advance(dt);
    angleTrack.advance(dt);
    return placement(positionTrack.evaluate(FloatTrack::Linear),
                     axisTrack.evaluate(FloatTrack::Linear),
                     angleTrack.evaluate(FloatTrack::Linear), parent);
}

void SceneObject::rewind() {
    positionTrack.rewind();
    axisTrack.rewind();
    angleTrack.rewind();
}

void SceneObject::releaseTracks() {
    positionTrack.resize(0);
    axisTrack.resize(0);
    angleTrack.resize(0);
}

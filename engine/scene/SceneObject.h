#pragma once

#include "engine/core/Matrix4.h"
#include "engine/scene/Track.h"

#include <cstdint>

struct ID3DXMesh;
struct IDirect3DDevice9;
class Material;
class ResourceStream;

// A mesh object of the scene with its static placement and optional animation.
class SceneObject {
public:
    SceneObject() = default;
    ~SceneObject();
    SceneObject(SceneObject&& o) noexcept;
    SceneObject& operator=(SceneObject&& o) noexcept;
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // Makes `material` this object's material, leaving any earlier one first.
    void attachMaterial(Material* material);
    void detachMaterial();

    // Reads a mesh block (vertex count, index count, vertices, indices) from the stream and
    // builds the drawable mesh and the bounding box from it. False when the block does not fit
    // the stream or its indices are unusable; the stream is then left where it was.
    bool buildMesh(ResourceStream& stream, IDirect3DDevice9* device);
    void releaseMesh();

    // This frame's world matrix under `parent`, advancing the animation by dt.
    Matrix4 animate(const Matrix4& parent, float dt);
    void rewind();
    void releaseTracks();

    ID3DXMesh* mesh = nullptr;
    Material* material = nullptr;
    int32_t drawnFrame = -1;
    Vec4 boundsMin = Vec4(-3.0f, -3.0f, -10.0f, 1.0f);
    Vec4 boundsMax = Vec4(3.0f, 3.0f, 10.0f, 1.0f);
    Matrix4 matrix;
    bool animated = false;
    VectorTrack positionTrack;
    VectorTrack axisTrack;
    FloatTrack angleTrack;
};

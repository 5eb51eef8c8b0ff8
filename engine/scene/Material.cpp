#include "engine/scene/Material.h"

#include "engine/scene/SceneObject.h"

bool Material::beginFrame(GrowArray<Material*>& queue, uint32_t frame) {
    if (frameStamp != frame) {
        // The entries and their light lists stay constructed for reuse by the next appends.
        drawList.clear();
        queue.append(this);
        frameStamp = frame;
    }
    return true;
}

void Material::addDraw(SceneObject* object, const Matrix4& world, uint32_t frame) {
    if (object->material != this) {
        return;
    }
    DrawEntry& entry = drawList.appendSlot();
    entry.object = object;
    entry.world = world;
    entry.inverseWorld = world;
    // A singular world matrix keeps itself as "inverse", as the matrix inversion leaves it.
    entry.inverseWorld.invert();
    entry.visible = true;
    entry.lights.clear();
    object->drawnFrame = static_cast<int32_t>(frame);
}

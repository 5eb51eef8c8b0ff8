#include "engine/render/RenderEngine.h"

#include "engine/scene/Material.h"
#include "engine/scene/SceneObject.h"

void RenderEngine::submitObject(SceneObject* object, const Matrix4& world) {
    Material* material = object->material;
    if (material == nullptr) {
        return;
    }
    material->beginFrame(materialQueue, frameCounter);
    material->addDraw(object, world, frameCounter);
}

void RenderEngine::endFrame() {
    ++frameCounter;
    materialQueue.clear();
    lightQueue.clear();
}

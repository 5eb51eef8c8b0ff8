#include "engine/render/Sprite.h"

namespace {

SpriteVertex corner(float x, float y, uint32_t colour, float u, float v) {
    return SpriteVertex{x, y, 0.5f, 1.0f, colour, u, v};
}

} // namespace

void appendSpriteVertices(GrowArray<SpriteVertex>& vertices, const Sprite& sprite, int width,
                          int height) {
    const float w = static_cast<float>(width - 1);
    const float h = static_cast<float>(height - 1);
    const float left = w * sprite.topLeft.x;
    const float top = h * sprite.topLeft.y;
    const float right = w * sprite.bottomRight.x;
    const float bottom = h * sprite.bottomRight.y;
    const uint32_t colour = colorToArgb(sprite.colour);
    vertices.append(corner(left, top, colour, 0.0f, 0.0f));
    vertices.append(corner(left, bottom, colour, 0.0f, 1.0f));
    vertices.append(corner(right, top, colour, 1.0f, 0.0f));
    vertices.append(corner(right, top, colour, 1.0f, 0.0f));
    vertices.append(corner(left, bottom, colour, 0.0f, 1.0f));
    vertices.append(corner(right, bottom, colour, 1.0f, 1.0f));
}

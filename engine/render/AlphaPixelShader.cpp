#include "engine/render/AlphaPixelShader.h"

void AlphaPixelShader::create() {
    build(kFile, kProfile);
}

#include "engine/render/AlphaPixelShader.h"

void AlphaPixelShader::create() {
    build("alphapixelshader.psh", "ps_1_1");
}

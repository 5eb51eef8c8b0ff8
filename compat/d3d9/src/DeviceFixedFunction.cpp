// The state behind the generated programs' lighting, fog, point and clip-plane uniforms, and the
// GL switches that go with points and clip planes.

#include "Device.h"

#include "FixedUniforms.h"
#include "ProgramCache.h"
#include "Refusal.h"

#include <algorithm>
#include <cstring>

namespace tarnelix::d3d9 {

namespace {

// Orthographic projections give every vertex w = 1: table fog then reads depth z instead.
bool perspectiveProjection(const D3DMATRIX& p) {
    return !(p._14 == 0.0f && p._24 == 0.0f && p._34 == 0.0f && p._44 == 1.0f);
}

} // namespace

void Device::transformsChanged(D3DTRANSFORMSTATETYPE state) {
    D3DMATRIX worldView;
    D3DMATRIX all;
    multiplyMatrices(transforms_[D3DTS_WORLD], transforms_[D3DTS_VIEW], worldView);
    multiplyMatrices(worldView, transforms_[D3DTS_PROJECTION], all);
    std::memcpy(draw_.worldViewProjection, all.m, sizeof(all.m));
    std::memcpy(draw_.worldView, worldView.m, sizeof(worldView.m));
    normalMatrix(worldView, draw_.normalMatrix);
    ++draw_.transformVersion;
    if (state == D3DTS_VIEW) {
        ++draw_.lightVersion; // lights are handed over in camera space
    } else if (state == D3DTS_WORLD) {
        ++draw_.clipVersion; // planes are handed over in the vertices' own space
    }
    bool perspective = perspectiveProjection(transforms_[D3DTS_PROJECTION]);
    if (perspective != draw_.perspective) {
        draw_.perspective = perspective;
        draw_.dirty |= kDirtyProgram;
    }
}

void Device::lightsChanged(bool programChanged) {
    int count = 0;
    uint8_t types[kMaxLights] = {};
    for (const auto& [index, slot] : lights_) {
        if (!slot.enabled) {
            continue;
        }
        if (count == kMaxLights) {
            refuseOnce("more enabled lights than 8, index", index);
            break;
        }
        draw_.lightIndex[count] = index;
        types[count] = static_cast<uint8_t>(slot.light.Type);
        ++count;
    }
    if (programChanged || count != draw_.lightCount ||
        std::memcmp(types, draw_.lightTypes, sizeof(types))) {
        draw_.dirty |= kDirtyProgram;
    }
    draw_.lightCount = count;
    std::memcpy(draw_.lightTypes, types, sizeof(types));
    ++draw_.lightVersion;
}

void Device::applyFixedFunctionUniforms(Program& p) {
    if (p.lights >= 0 && p.lightVersion != draw_.lightVersion) {
        p.lightVersion = draw_.lightVersion;
        float values[kMaxLights][kLightVectors][4];
        for (int i = 0; i < draw_.lightCount; ++i) {
            lightUniforms(lights_.at(draw_.lightIndex[i]).light, transforms_[D3DTS_VIEW],
                          values[i]);
        }
        glUniform4fv(p.lights, draw_.lightCount * kLightVectors, &values[0][0][0]);
    }
    if (p.clipPlanes >= 0 && p.clipVersion != draw_.clipVersion) {
        p.clipVersion = draw_.clipVersion;
        float planes[kClipPlaneCount][4];
        for (int i = 0; i < kClipPlaneCount; ++i) {
            if (p.generatedVertex) {
                objectSpacePlane(transforms_[D3DTS_WORLD], clipPlanes_[i], planes[i]);
            } else {
                fixedUpPlane(clipPlanes_[i], draw_.posFixup, planes[i]);
            }
        }
        glUniform4fv(p.clipPlanes, kClipPlaneCount, &planes[0][0]);
    }
}

void Device::uploadFixedValues(Program& p) {
    const DWORD* rs = state_.render;
    const D3DMATERIAL9& m = state_.material;
    if (p.materialSpecular >= 0) {
        glUniform4fv(p.materialSpecular, 1, &m.Specular.r);
    }
    if (p.materialPower >= 0) {
        glUniform1f(p.materialPower, m.Power);
    }
    if (p.fog >= 0) {
        float fog[4];
        fogUniform(rs, fog);
        glUniform4fv(p.fog, 1, fog);
    }
    if (p.fogColor >= 0) {
        float colour[4];
        colourOf(rs[D3DRS_FOGCOLOR], colour);
        glUniform4fv(p.fogColor, 1, colour);
    }
    if (p.point >= 0) {
        uploadPointSize(p);
    }
    if (p.pointScale >= 0) {
        glUniform4f(p.pointScale, floatOf(rs[D3DRS_POINTSCALE_A]), floatOf(rs[D3DRS_POINTSCALE_B]),
                    floatOf(rs[D3DRS_POINTSCALE_C]), 0.0f);
    }
}

void Device::uploadPointSize(Program& p) {
    const DWORD* rs = state_.render;
    float largest = std::min(floatOf(rs[D3DRS_POINTSIZE_MAX]), draw_.maxPointSize);
    glUniform4f(p.point, floatOf(rs[D3DRS_POINTSIZE]), floatOf(rs[D3DRS_POINTSIZE_MIN]), largest,
                static_cast<float>(viewport_.Height));
}

void Device::applyClipDistances(uint32_t planes) {
    uint32_t changed = planes ^ draw_.clipDistances;
    for (GLenum i = 0; changed; ++i, changed >>= 1) {
        if (!(changed & 1)) {
            continue;
        }
        if (planes & (1u << i)) {
            glEnable(GL_CLIP_DISTANCE0 + i);
        } else {
            glDisable(GL_CLIP_DISTANCE0 + i);
        }
    }
    draw_.clipDistances = planes;
}

// Generated programs write the size of their points; for a compiled program's points the
// device sets D3DRS_POINTSIZE itself.
void Device::applyPointSize(bool generatedVertex) {
    bool programSize = generatedVertex && draw_.points;
    if (programSize != draw_.programPointSize) {
        if (programSize) {
            glEnable(GL_PROGRAM_POINT_SIZE);
        } else {
            glDisable(GL_PROGRAM_POINT_SIZE);
        }
        draw_.programPointSize = programSize;
    }
    if (draw_.points && !programSize) {
        const DWORD* rs = state_.render;
        float largest = std::min(floatOf(rs[D3DRS_POINTSIZE_MAX]), draw_.maxPointSize);
        float size = std::min(
            std::max(floatOf(rs[D3DRS_POINTSIZE]), floatOf(rs[D3DRS_POINTSIZE_MIN])), largest);
        if (size != draw_.glPointSize) {
            glPointSize(size);
            draw_.glPointSize = size;
        }
    }
}

float Device::maxPointSize() const {
    return draw_.maxPointSize;
}

} // namespace tarnelix::d3d9

#include "VertexDeclaration.h"

#include "Refusal.h"

namespace tarnelix::d3d9 {

GLint attributeLocation(BYTE usage, BYTE usageIndex) {
    switch (usage) {
    case D3DDECLUSAGE_POSITION:
    case D3DDECLUSAGE_POSITIONT:
        return usageIndex == 0 ? 0 : -1;
    case D3DDECLUSAGE_BLENDWEIGHT:
    case D3DDECLUSAGE_PSIZE:
        // A point size shares the blend weights' location: the device blends no vertices
        // itself, and GL 3.3 promises no more than the 16 locations used here.
        return usageIndex == 0 ? 1 : -1;
    case D3DDECLUSAGE_BLENDINDICES:
        return usageIndex == 0 ? 2 : -1;
    case D3DDECLUSAGE_NORMAL:
        return usageIndex == 0 ? 3 : -1;
    case D3DDECLUSAGE_BINORMAL:
        return usageIndex == 0 ? 4 : -1;
    case D3DDECLUSAGE_COLOR:
        return usageIndex <= 1 ? 5 + usageIndex : -1;
    case D3DDECLUSAGE_TEXCOORD:
        return usageIndex <= 7 ? 7 + usageIndex : -1;
    case D3DDECLUSAGE_TANGENT:
        return usageIndex == 0 ? 15 : -1;
    default:
        return -1;
    }
}

namespace {

bool glFormat(BYTE type, GlVertexElement& out) {
    out.normalized = GL_FALSE;
    switch (type) {
    case D3DDECLTYPE_FLOAT1:
    case D3DDECLTYPE_FLOAT2:
    case D3DDECLTYPE_FLOAT3:
    case D3DDECLTYPE_FLOAT4:
        out.size = type - D3DDECLTYPE_FLOAT1 + 1;
        out.type = GL_FLOAT;
        return true;
    case D3DDECLTYPE_D3DCOLOR:
        out.size = GL_BGRA;
        out.type = GL_UNSIGNED_BYTE;
        out.normalized = GL_TRUE;
        return true;
    case D3DDECLTYPE_UBYTE4:
        out.size = 4;
        out.type = GL_UNSIGNED_BYTE;
        return true;
    case D3DDECLTYPE_UBYTE4N:
        out.size = 4;
        out.type = GL_UNSIGNED_BYTE;
        out.normalized = GL_TRUE;
        return true;
    case D3DDECLTYPE_SHORT2:
    case D3DDECLTYPE_SHORT4:
        out.size = type == D3DDECLTYPE_SHORT2 ? 2 : 4;
        out.type = GL_SHORT;
        return true;
    case D3DDECLTYPE_SHORT2N:
    case D3DDECLTYPE_SHORT4N:
        out.size = type == D3DDECLTYPE_SHORT2N ? 2 : 4;
        out.type = GL_SHORT;
        out.normalized = GL_TRUE;
        return true;
    case D3DDECLTYPE_USHORT2N:
    case D3DDECLTYPE_USHORT4N:
        out.size = type == D3DDECLTYPE_USHORT2N ? 2 : 4;
        out.type = GL_UNSIGNED_SHORT;
        out.normalized = GL_TRUE;
        return true;
    case D3DDECLTYPE_FLOAT16_2:
    case D3DDECLTYPE_FLOAT16_4:
        out.size = type == D3DDECLTYPE_FLOAT16_2 ? 2 : 4;
        out.type = GL_HALF_FLOAT;
        return true;
    default:
        return false;
    }
}

D3DVERTEXELEMENT9 element(WORD offset, BYTE type, BYTE usage, BYTE index) {
    return D3DVERTEXELEMENT9{0, offset, type, D3DDECLMETHOD_DEFAULT, usage, index};
}

} // namespace

bool elementsFromFvf(DWORD fvf, std::vector<D3DVERTEXELEMENT9>& out) {
    out.clear();
    WORD offset = 0;
    DWORD position = fvf & D3DFVF_POSITION_MASK;
    switch (position) {
    case D3DFVF_XYZ:
        out.push_back(element(offset, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0));
        offset += 12;
        break;
    case D3DFVF_XYZRHW:
        out.push_back(element(offset, D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_POSITIONT, 0));
        offset += 16;
        break;
    case D3DFVF_XYZW:
        out.push_back(element(offset, D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_POSITION, 0));
        offset += 16;
        break;
    case 0:
        break;
    default:
        refuseOnce("vertex format with blend weights, FVF", fvf);
        return false;
    }
    if (fvf & D3DFVF_NORMAL) {
        out.push_back(element(offset, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0));
        offset += 12;
    }
    if (fvf & D3DFVF_PSIZE) {
        out.push_back(element(offset, D3DDECLTYPE_FLOAT1, D3DDECLUSAGE_PSIZE, 0));
        offset += 4;
    }
    if (fvf & D3DFVF_DIFFUSE) {
        out.push_back(element(offset, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 0));
        offset += 4;
    }
    if (fvf & D3DFVF_SPECULAR) {
        out.push_back(element(offset, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 1));
        offset += 4;
    }
    DWORD texCount = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (texCount > 8) {
        refuseOnce("vertex format with more than 8 texture coordinates, FVF", fvf);
        return false;
    }
    for (DWORD i = 0; i < texCount; ++i) {
        DWORD format = (fvf >> (16 + 2 * i)) & 3;
        static constexpr BYTE kTypes[4] = {D3DDECLTYPE_FLOAT2, D3DDECLTYPE_FLOAT3,
                                           D3DDECLTYPE_FLOAT4, D3DDECLTYPE_FLOAT1};
        static constexpr WORD kSizes[4] = {8, 12, 16, 4};
        out.push_back(element(offset, kTypes[format], D3DDECLUSAGE_TEXCOORD, static_cast<BYTE>(i)));
        offset += kSizes[format];
    }
    return true;
}

UINT fvfStride(DWORD fvf) {
    std::vector<D3DVERTEXELEMENT9> elements;
    if (!elementsFromFvf(fvf, elements) || elements.empty()) {
        return 0;
    }
    static constexpr UINT kSizes[] = {4, 8, 12, 16, 4, 4, 4, 8, 4, 4, 8, 4, 8, 4, 4, 4, 8};
    const D3DVERTEXELEMENT9& last = elements.back();
    return last.Offset + kSizes[last.Type];
}

VertexDeclaration::VertexDeclaration(Device* device, const D3DVERTEXELEMENT9* elements)
    : DeviceChild(device) {
    for (int i = 0; i < MAXD3DDECLLENGTH && elements[i].Stream != 0xFF; ++i) {
        const D3DVERTEXELEMENT9& e = elements[i];
        elements_.push_back(e);
        if (e.Type == D3DDECLTYPE_UNUSED) {
            continue;
        }
        GlVertexElement gl{};
        gl.stream = e.Stream;
        gl.offset = e.Offset;
        gl.location = attributeLocation(e.Usage, e.UsageIndex);
        if (e.Stream >= 16 || e.Method != D3DDECLMETHOD_DEFAULT) {
            refuseOnce("vertex element stream or method, usage", e.Usage);
            valid_ = false;
            continue;
        }
        if (gl.location < 0 || (locationMask_ & (1u << gl.location))) {
            refuseOnce("vertex element usage (usage * 16 + index)", e.Usage * 16u + e.UsageIndex);
            continue;
        }
        if (!glFormat(e.Type, gl)) {
            refuseOnce("vertex element type", e.Type);
            valid_ = false;
            continue;
        }
        if (e.Usage == D3DDECLUSAGE_POSITIONT) {
            pretransformed_ = true;
        }
        locationMask_ |= 1u << gl.location;
        streamMask_ |= 1u << gl.stream;
        glElements_.push_back(gl);
    }
    elements_.push_back(D3DDECL_END());
}

HRESULT VertexDeclaration::GetDevice(IDirect3DDevice9** device) {
    TARNELIX_D3D9_CALL();
    return getDevice(device);
}

HRESULT VertexDeclaration::GetDeclaration(D3DVERTEXELEMENT9* elements, UINT* count) {
    TARNELIX_D3D9_CALL();
    if (!count) {
        return D3DERR_INVALIDCALL;
    }
    if (elements) {
        for (size_t i = 0; i < elements_.size(); ++i) {
            elements[i] = elements_[i];
        }
    }
    *count = static_cast<UINT>(elements_.size());
    return D3D_OK;
}

} // namespace tarnelix::d3d9

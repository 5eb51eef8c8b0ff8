#pragma once

// Vertex declarations and flexible vertex formats, turned into GL attribute pointers. Every
// Direct3D usage has a fixed attribute location, shared by the device's generated programs
// and the compiled vertex programs.

#include "ComObject.h"
#include "Gl.h"

#include <vector>

namespace tarnelix::d3d9 {

// The attribute location of a usage and usage index, or -1 when the device has none for it.
GLint attributeLocation(BYTE usage, BYTE usageIndex);

struct GlVertexElement {
    WORD stream;
    WORD offset;
    GLint location;
    GLint size; // 1 to 4, or GL_BGRA for D3DCOLOR
    GLenum type;
    GLboolean normalized;
};

// The elements of a flexible vertex format (without the end marker); false for formats that
// are refused (blend weights...).
bool elementsFromFvf(DWORD fvf, std::vector<D3DVERTEXELEMENT9>& out);
// Size in bytes of one vertex of the format.
UINT fvfStride(DWORD fvf);

class VertexDeclaration : public ComObject<IDirect3DVertexDeclaration9>, public DeviceChild {
public:
    // Parses the elements up to D3DDECL_END; valid() tells whether they could all be used.
    VertexDeclaration(Device* device, const D3DVERTEXELEMENT9* elements);

    bool valid() const { return valid_; }
    bool pretransformed() const { return pretransformed_; }
    const std::vector<GlVertexElement>& glElements() const { return glElements_; }
    uint32_t locationMask() const { return locationMask_; }
    uint32_t streamMask() const { return streamMask_; }

    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override;
    HRESULT STDMETHODCALLTYPE GetDeclaration(D3DVERTEXELEMENT9* elements, UINT* count) override;
    void releaseGl() override {}

private:
    std::vector<D3DVERTEXELEMENT9> elements_; // with the end marker
    std::vector<GlVertexElement> glElements_;
    bool valid_ = true;
    bool pretransformed_ = false;
    uint32_t locationMask_ = 0;
    uint32_t streamMask_ = 0;
};

} // namespace tarnelix::d3d9

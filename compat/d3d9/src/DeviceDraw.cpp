// Vertex input and the draw calls.

#include "Device.h"

#include "Buffers.h"
#include "ProgramCache.h"
#include "Refusal.h"
#include "StateBlock.h"
#include "StreamRing.h"
#include "VertexDeclaration.h"

namespace tarnelix::d3d9 {

namespace {

// Not GL_NONE, which is GL_POINTS.
constexpr GLenum kNoPrimitive = GL_INVALID_ENUM;

GLenum glPrimitive(D3DPRIMITIVETYPE type) {
    switch (type) {
    case D3DPT_POINTLIST:
        return GL_POINTS;
    case D3DPT_LINELIST:
        return GL_LINES;
    case D3DPT_LINESTRIP:
        return GL_LINE_STRIP;
    case D3DPT_TRIANGLELIST:
        return GL_TRIANGLES;
    case D3DPT_TRIANGLESTRIP:
        return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN:
        return GL_TRIANGLE_FAN;
    default:
        return kNoPrimitive;
    }
}

UINT vertexCount(D3DPRIMITIVETYPE type, UINT primitives) {
    switch (type) {
    case D3DPT_POINTLIST:
        return primitives;
    case D3DPT_LINELIST:
        return primitives * 2;
    case D3DPT_LINESTRIP:
        return primitives + 1;
    case D3DPT_TRIANGLELIST:
        return primitives * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN:
        return primitives + 2;
    default:
        return 0;
    }
}

StreamSource recordedStream(IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) {
    StreamSource stream;
    stream.buffer.reset(buffer);
    stream.offset = offset;
    stream.stride = stride;
    return stream;
}

UINT frequencyCount(UINT setting) {
    return setting & ~(D3DSTREAMSOURCE_INDEXEDDATA | D3DSTREAMSOURCE_INSTANCEDATA);
}

// The runtime's rules: a count of at least one; geometry (INDEXEDDATA) or per-instance data
// (INSTANCEDATA), never both, and stream 0 always holds the geometry. A bare divider other
// than 1 is the vertex-frequency feature of software vertex processing, not offered here.
HRESULT checkedFrequency(UINT stream, UINT setting) {
    bool indexed = (setting & D3DSTREAMSOURCE_INDEXEDDATA) != 0;
    bool instance = (setting & D3DSTREAMSOURCE_INSTANCEDATA) != 0;
    if (frequencyCount(setting) == 0 || (indexed && instance) || (instance && stream == 0)) {
        return D3DERR_INVALIDCALL;
    }
    if (!indexed && !instance && setting != 1) {
        refuseOnce("stream frequency divider without instancing flags", setting);
        return D3DERR_NOTAVAILABLE;
    }
    return D3D_OK;
}

VertexInput recordedInput(IDirect3DVertexDeclaration9* declaration, DWORD fvf) {
    VertexInput input;
    input.declaration.reset(declaration);
    input.fvf = fvf;
    return input;
}

} // namespace

HRESULT Device::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                UINT stride) {
    TARNELIX_D3D9_CALL();
    if (stream >= kStreamCount) {
        return D3DERR_INVALIDCALL;
    }
    if (recording_) {
        recording_->held().streams.record(stream, recordedStream(buffer, offset, stride));
        return D3D_OK;
    }
    auto* vertexBuffer = static_cast<VertexBuffer*>(buffer);
    Stream& s = streams_[stream];
    if (s.buffer == vertexBuffer && s.offset == offset && s.stride == stride) {
        return D3D_OK;
    }
    assign(s.buffer, vertexBuffer);
    s.offset = offset;
    s.stride = stride;
    draw_.dirty |= kDirtyVertexInput;
    return D3D_OK;
}

HRESULT Device::GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset,
                                UINT* stride) {
    TARNELIX_D3D9_CALL();
    if (stream >= kStreamCount || !buffer || !offset || !stride) {
        return D3DERR_INVALIDCALL;
    }
    const Stream& s = streams_[stream];
    handOut(s.buffer, buffer);
    *offset = s.offset;
    *stride = s.stride;
    return D3D_OK;
}

HRESULT Device::SetStreamSourceFreq(UINT stream, UINT setting) {
    TARNELIX_D3D9_CALL();
    if (stream >= kStreamCount) {
        return D3DERR_INVALIDCALL;
    }
    HRESULT valid = checkedFrequency(stream, setting);
    if (FAILED(valid)) {
        return valid;
    }
    if (recording_) {
        recording_->held().frequencies.record(stream, setting);
        return D3D_OK;
    }
    if (streams_[stream].frequency != setting) {
        streams_[stream].frequency = setting;
        draw_.dirty |= kDirtyVertexInput;
    }
    return D3D_OK;
}

HRESULT Device::GetStreamSourceFreq(UINT stream, UINT* setting) {
    TARNELIX_D3D9_CALL();
    if (stream >= kStreamCount || !setting) {
        return D3DERR_INVALIDCALL;
    }
    *setting = streams_[stream].frequency;
    return D3D_OK;
}

// Instancing is on while stream 0 holds the indexed geometry; plain and client-memory draws
// read every stream per vertex whatever the frequencies say.
UINT Device::instanceCount() const {
    UINT setting = streams_[0].frequency;
    return (setting & D3DSTREAMSOURCE_INDEXEDDATA) ? frequencyCount(setting) : 0;
}

HRESULT Device::SetIndices(IDirect3DIndexBuffer9* buffer) {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        recordObject(recording_->held().indices, buffer);
        return D3D_OK;
    }
    auto* indexBuffer = static_cast<IndexBuffer*>(buffer);
    if (indices_ != indexBuffer) {
        assign(indices_, indexBuffer);
    }
    return D3D_OK;
}

HRESULT Device::GetIndices(IDirect3DIndexBuffer9** buffer) {
    TARNELIX_D3D9_CALL();
    if (!buffer) {
        return D3DERR_INVALIDCALL;
    }
    handOut(indices_, buffer);
    return D3D_OK;
}

HRESULT Device::CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements,
                                        IDirect3DVertexDeclaration9** decl) {
    TARNELIX_D3D9_CALL();
    if (!elements || !decl) {
        return D3DERR_INVALIDCALL;
    }
    auto* created = new VertexDeclaration(this, elements);
    if (!created->valid()) {
        created->Release();
        *decl = nullptr;
        return D3DERR_INVALIDCALL;
    }
    *decl = created;
    return D3D_OK;
}

HRESULT Device::SetVertexDeclaration(IDirect3DVertexDeclaration9* decl) {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        recording_->held().vertexInput.record(recordedInput(decl, 0));
        return D3D_OK;
    }
    auto* declaration = static_cast<VertexDeclaration*>(decl);
    if (declaration_ == declaration && fvf_ == 0) {
        return D3D_OK;
    }
    assign(declaration_, declaration);
    fvf_ = 0;
    draw_.dirty |= kDirtyVertexInput | kDirtyProgram;
    return D3D_OK;
}

HRESULT Device::GetVertexDeclaration(IDirect3DVertexDeclaration9** decl) {
    TARNELIX_D3D9_CALL();
    if (!decl) {
        return D3DERR_INVALIDCALL;
    }
    handOut(declaration_, decl);
    return D3D_OK;
}

VertexDeclaration* Device::declarationForFvf(DWORD fvf) {
    for (auto& entry : fvfDeclarations_) {
        if (entry.first == fvf) {
            return entry.second;
        }
    }
    std::vector<D3DVERTEXELEMENT9> elements;
    if (!elementsFromFvf(fvf, elements)) {
        return nullptr;
    }
    elements.push_back(D3DDECL_END());
    auto* declaration = new VertexDeclaration(this, elements.data());
    fvfDeclarations_.emplace_back(fvf, declaration);
    return declaration;
}

HRESULT Device::SetFVF(DWORD fvf) {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        VertexDeclaration* declaration = fvf ? declarationForFvf(fvf) : declaration_;
        if (fvf && !declaration) {
            return D3DERR_INVALIDCALL;
        }
        recording_->held().vertexInput.record(recordedInput(declaration, fvf));
        return D3D_OK;
    }
    if (fvf == fvf_ && (fvf == 0 || declaration_)) {
        return D3D_OK;
    }
    if (fvf == 0) {
        fvf_ = 0;
        return D3D_OK;
    }
    VertexDeclaration* declaration = declarationForFvf(fvf);
    if (!declaration) {
        return D3DERR_INVALIDCALL;
    }
    assign(declaration_, declaration);
    fvf_ = fvf;
    draw_.dirty |= kDirtyVertexInput | kDirtyProgram;
    return D3D_OK;
}

HRESULT Device::GetFVF(DWORD* fvf) {
    TARNELIX_D3D9_CALL();
    if (!fvf) {
        return D3DERR_INVALIDCALL;
    }
    *fvf = fvf_;
    return D3D_OK;
}

void Device::applyVertexInput(GLuint upBuffer, UINT upStride, UINT instances) {
    VertexDeclaration* declaration = declaration_;
    GLuint buffers[kStreamCount];
    UINT offsets[kStreamCount];
    UINT strides[kStreamCount];
    UINT divisors[kStreamCount];
    bool changed = declaration != draw_.inputDeclaration;
    uint32_t streams = declaration->streamMask();
    for (int s = 0; s < kStreamCount; ++s) {
        if (!(streams & (1u << s))) {
            continue;
        }
        if (upBuffer && s == 0) {
            buffers[s] = upBuffer;
            offsets[s] = 0;
            strides[s] = upStride;
        } else {
            buffers[s] = streams_[s].buffer ? streams_[s].buffer->glBuffer() : 0;
            offsets[s] = streams_[s].offset;
            strides[s] = streams_[s].stride;
        }
        UINT setting = streams_[s].frequency;
        divisors[s] =
            instances && (setting & D3DSTREAMSOURCE_INSTANCEDATA) ? frequencyCount(setting) : 0;
        changed = changed || buffers[s] != draw_.inputBuffer[s] ||
                  offsets[s] != draw_.inputOffset[s] || strides[s] != draw_.inputStride[s] ||
                  divisors[s] != draw_.inputDivisor[s];
    }
    if (!changed) {
        return;
    }
    GLuint bound = 0;
    for (const GlVertexElement& e : declaration->glElements()) {
        GLuint buffer = buffers[e.stream];
        if (buffer != bound) {
            glBindBuffer(GL_ARRAY_BUFFER, buffer);
            bound = buffer;
        }
        if (!buffer) {
            continue; // no stream bound: the attribute is disabled below
        }
        glVertexAttribPointer(
            static_cast<GLuint>(e.location), e.size, e.type, e.normalized,
            static_cast<GLsizei>(strides[e.stream]),
            reinterpret_cast<const void*>(static_cast<uintptr_t>(offsets[e.stream] + e.offset)));
        UINT& divisor = draw_.attributeDivisor[e.location];
        if (divisor != divisors[e.stream]) {
            glVertexAttribDivisor(static_cast<GLuint>(e.location), divisors[e.stream]);
            divisor = divisors[e.stream];
        }
    }
    uint32_t wanted = 0;
    for (const GlVertexElement& e : declaration->glElements()) {
        if (buffers[e.stream]) {
            wanted |= 1u << e.location;
        }
    }
    uint32_t difference = wanted ^ draw_.enabledAttributes;
    for (GLuint location = 0; difference; ++location, difference >>= 1) {
        if (difference & 1) {
            if (wanted & (1u << location)) {
                glEnableVertexAttribArray(location);
            } else {
                glDisableVertexAttribArray(location);
            }
        }
    }
    draw_.enabledAttributes = wanted;
    draw_.inputDeclaration = declaration;
    for (int s = 0; s < kStreamCount; ++s) {
        if (streams & (1u << s)) {
            draw_.inputBuffer[s] = buffers[s];
            draw_.inputOffset[s] = offsets[s];
            draw_.inputStride[s] = strides[s];
            draw_.inputDivisor[s] = divisors[s];
        }
    }
    draw_.dirty &= ~kDirtyVertexInput;
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        return D3DERR_INVALIDCALL; // the runtime draws nothing while recording
    }
    GLenum mode = glPrimitive(type);
    if (mode == kNoPrimitive || !declaration_ || primitiveCount > kMaxPrimitiveCount) {
        return D3DERR_INVALIDCALL;
    }
    if (primitiveCount == 0) {
        return D3D_OK;
    }
    if (!prepareDraw(type == D3DPT_POINTLIST)) {
        return D3D_OK;
    }
    applyVertexInput(0, 0);
    glDrawArrays(mode, static_cast<GLint>(startVertex),
                 static_cast<GLsizei>(vertexCount(type, primitiveCount)));
    return D3D_OK;
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex,
                                     UINT vertexCountIn, UINT startIndex, UINT primitiveCount) {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        return D3DERR_INVALIDCALL; // the runtime draws nothing while recording
    }
    GLenum mode = glPrimitive(type);
    if (mode == kNoPrimitive || !declaration_ || !indices_ || primitiveCount > kMaxPrimitiveCount ||
        uint64_t{minIndex} + vertexCountIn > uint64_t{kMaxVertexIndex} + 1) {
        return D3DERR_INVALIDCALL;
    }
    UINT count = vertexCount(type, primitiveCount);
    if ((uint64_t{startIndex} + count) * indices_->indexSize() > indices_->size()) {
        return D3DERR_INVALIDCALL;
    }
    if (primitiveCount == 0) {
        return D3D_OK;
    }
    if (!prepareDraw(type == D3DPT_POINTLIST)) {
        return D3D_OK;
    }
    UINT instances = instanceCount();
    applyVertexInput(0, 0, instances);
    if (draw_.boundIndexBuffer != indices_->glBuffer()) {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices_->glBuffer());
        draw_.boundIndexBuffer = indices_->glBuffer();
    }
    const void* first =
        reinterpret_cast<const void*>(static_cast<uintptr_t>(startIndex) * indices_->indexSize());
    if (instances) {
        glDrawElementsInstancedBaseVertex(mode, static_cast<GLsizei>(count),
                                          indices_->glIndexType(), first,
                                          static_cast<GLsizei>(instances), baseVertex);
    } else {
        glDrawElementsBaseVertex(mode, static_cast<GLsizei>(count), indices_->glIndexType(), first,
                                 baseVertex);
    }
    return D3D_OK;
}

HRESULT Device::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices,
                                UINT stride) {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        return D3DERR_INVALIDCALL; // the runtime draws nothing while recording
    }
    GLenum mode = glPrimitive(type);
    if (mode == kNoPrimitive || !vertices || stride == 0 || !declaration_ ||
        primitiveCount > kMaxPrimitiveCount) {
        return D3DERR_INVALIDCALL;
    }
    // As on Direct3D, a client-memory draw leaves stream 0 unset.
    if (streams_[0].buffer) {
        SetStreamSource(0, nullptr, 0, 0);
    }
    if (primitiveCount == 0) {
        return D3D_OK;
    }
    if (!prepareDraw(type == D3DPT_POINTLIST)) {
        return D3D_OK;
    }
    UINT count = vertexCount(type, primitiveCount);
    glBindBuffer(GL_ARRAY_BUFFER, vertexRing_->buffer());
    size_t offset = vertexRing_->write(vertices, static_cast<size_t>(count) * stride, stride);
    applyVertexInput(vertexRing_->buffer(), stride);
    glDrawArrays(mode, static_cast<GLint>(offset / stride), static_cast<GLsizei>(count));
    return D3D_OK;
}

HRESULT Device::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertexCountIn,
                                       UINT primitiveCount, const void* indexData,
                                       D3DFORMAT indexFormat, const void* vertices, UINT stride) {
    TARNELIX_D3D9_CALL();
    if (recording_) {
        return D3DERR_INVALIDCALL; // the runtime draws nothing while recording
    }
    GLenum mode = glPrimitive(type);
    if (mode == kNoPrimitive || !vertices || !indexData || stride == 0 || !declaration_ ||
        (indexFormat != D3DFMT_INDEX16 && indexFormat != D3DFMT_INDEX32) ||
        primitiveCount > kMaxPrimitiveCount ||
        uint64_t{minIndex} + vertexCountIn > uint64_t{kMaxVertexIndex} + 1) {
        return D3DERR_INVALIDCALL;
    }
    if (streams_[0].buffer) {
        SetStreamSource(0, nullptr, 0, 0);
    }
    SetIndices(nullptr);
    if (primitiveCount == 0) {
        return D3D_OK;
    }
    if (!prepareDraw(type == D3DPT_POINTLIST)) {
        return D3D_OK;
    }
    UINT count = vertexCount(type, primitiveCount);
    size_t indexSize = indexFormat == D3DFMT_INDEX32 ? 4 : 2;
    UINT vertexTotal = minIndex + vertexCountIn;
    glBindBuffer(GL_ARRAY_BUFFER, vertexRing_->buffer());
    size_t offset = vertexRing_->write(vertices, static_cast<size_t>(vertexTotal) * stride, stride);
    applyVertexInput(vertexRing_->buffer(), stride);
    if (draw_.boundIndexBuffer != indexRing_->buffer()) {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexRing_->buffer());
        draw_.boundIndexBuffer = indexRing_->buffer();
    }
    size_t indexOffset = indexRing_->write(indexData, count * indexSize, indexSize);
    glDrawElementsBaseVertex(
        mode, static_cast<GLsizei>(count), indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
        reinterpret_cast<const void*>(indexOffset), static_cast<GLint>(offset / stride));
    return D3D_OK;
}

} // namespace tarnelix::d3d9

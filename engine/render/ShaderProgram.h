#pragma once

#include "engine/core/Matrix4.h"
#include "engine/core/Vec4.h"

struct ID3DXConstantTable;
struct ID3DXBuffer;
struct IDirect3DVertexShader9;
struct IDirect3DPixelShader9;
typedef const char* D3DXHANDLE;

// A compiled shader program's constant table and the typed writes through it. The concrete
// programs hold the handles of their constants; a null handle (a constant the source does not
// declare, or no table at all) makes a write do nothing.
class ShaderProgram {
public:
    ShaderProgram() = default;
    virtual ~ShaderProgram();
    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    ID3DXConstantTable* constantTable() const { return m_constantTable; }

protected:
    // Compiles `file` from the working directory with entry point "main". Keeps the constant
    // table and returns the code (the caller releases it), or null after printing the
    // compiler's messages on stderr.
    ID3DXBuffer* compile(const char* file, const char* profile);
    D3DXHANDLE handle(const char* name) const;
    void releaseConstantTable();

    void setMatrix(D3DXHANDLE handle, const Matrix4& value) const;
    void setVector(D3DXHANDLE handle, const Vec4& value) const;
    void setFloat(D3DXHANDLE handle, float value) const;
    void setBool(D3DXHANDLE handle, bool value) const;

private:
    ID3DXConstantTable* m_constantTable = nullptr;
};

class VertexShaderProgram : public ShaderProgram {
public:
    ~VertexShaderProgram() override;

    // Makes this the device's vertex shader (none when the program failed to build).
    void bind() const;
    // Gives back the device shader, then the constant table.
    void release();
    // True when the device shader exists: passes that need the program draw nothing without.
    bool ready() const { return m_shader != nullptr; }

protected:
    // Compiles the file and creates the device shader; false when either fails.
    bool build(const char* file, const char* profile);

private:
    IDirect3DVertexShader9* m_shader = nullptr;
};

class PixelShaderProgram : public ShaderProgram {
public:
    ~PixelShaderProgram() override;

    void bind() const;
    void release();
    bool ready() const { return m_shader != nullptr; }

protected:
    bool build(const char* file, const char* profile);

private:
    IDirect3DPixelShader9* m_shader = nullptr;
};

#include "shader/GlslBackEnd.h"

#include "shader/Semantics.h"

#include <spirv_cross/spirv_glsl.hpp>

#include <algorithm>
#include <sstream>

namespace tarnelix::d3dx {
namespace {

// D3DXPARAMETER_CLASS and D3DXPARAMETER_TYPE values the table reports.
constexpr uint32_t kClassScalar = 0;
constexpr uint32_t kClassVector = 1;
constexpr uint32_t kClassMatrixRows = 2;
constexpr uint32_t kClassMatrixColumns = 3;
constexpr uint32_t kClassObject = 4;
constexpr uint32_t kTypeBool = 1;
constexpr uint32_t kTypeFloat = 3;
constexpr uint32_t kTypeSampler2D = 12;
constexpr uint32_t kTypeSampler3D = 13;
constexpr uint32_t kTypeSamplerCube = 14;

// A varying whose declared type is narrower than vec4: GLSL links varyings by name and type,
// so every stage exchanges vec4 `tx_v_*` and the program's own variable becomes a global that
// the wrapper main copies to or from.
struct Varying {
    std::string wide;   // tx_v_TEXCOORD0
    std::string narrow; // tx_o_TEXCOORD0 / tx_p_TEXCOORD0, empty when no copy is needed
    uint32_t components = 4;
    bool saturate = false;
};

std::string vecType(uint32_t n) {
    return n == 1 ? "float" : "vec" + std::to_string(n);
}

std::string widen(const Varying& v) {
    switch (v.components) {
    case 1:
        return "vec4(" + v.narrow + ", 0.0, 0.0, 1.0)";
    case 2:
        return "vec4(" + v.narrow + ", 0.0, 1.0)";
    case 3:
        return "vec4(" + v.narrow + ", 1.0)";
    default:
        return v.narrow;
    }
}

std::string narrowFrom(const Varying& v) {
    static const char* swizzles[] = {"", ".x", ".xy", ".xyz", ""};
    return v.wide + swizzles[std::min<uint32_t>(v.components, 4)];
}

class Translator {
public:
    Translator(std::vector<uint32_t> spirv, ShaderStage stage)
        : m_compiler(std::move(spirv)), m_stage(stage) {}

    bool run(ShaderBlob& blob, std::string& messages) {
        const spirv_cross::ShaderResources resources = m_compiler.get_shader_resources();
        if (!mapInputs(resources, blob, messages) || !mapOutputs(resources, blob, messages) ||
            !mapConstants(resources, blob, messages) || !mapSamplers(resources, blob, messages)) {
            return false;
        }
        spirv_cross::CompilerGLSL::Options options;
        options.version = 330;
        options.es = false;
        options.enable_420pack_extension = false;
        m_compiler.set_common_options(options);
        blob.glsl = wrapMain(m_compiler.compile());
        return true;
    }

private:
    Semantic semanticOf(spirv_cross::ID id) const {
        return parseSemantic(
            m_compiler.get_decoration_string(id, spv::DecorationHlslSemanticGOOGLE));
    }

    uint32_t componentsOf(spirv_cross::TypeID type) const {
        return m_compiler.get_type(type).vecsize;
    }

    bool isFloatVector(spirv_cross::TypeID type) const {
        const spirv_cross::SPIRType& t = m_compiler.get_type(type);
        return t.basetype == spirv_cross::SPIRType::Float && t.columns == 1 && t.array.empty();
    }

    void addVarying(spirv_cross::ID id, spirv_cross::TypeID type, const Semantic& s,
                    const char* narrowPrefix, bool saturate, std::vector<ShaderVarying>& list) {
        Varying v;
        v.wide = "tx_v_" + s.label();
        v.components = componentsOf(type);
        v.saturate = saturate;
        if (v.components != 4 || saturate) {
            v.narrow = narrowPrefix + s.label();
            m_compiler.set_name(id, v.narrow);
        } else {
            m_compiler.set_name(id, v.wide);
        }
        m_compiler.unset_decoration(id, spv::DecorationLocation);
        m_varyings.push_back(v);
        list.push_back({v.wide, s.usage, s.index});
    }

    bool mapInputs(const spirv_cross::ShaderResources& r, ShaderBlob& blob, std::string& messages) {
        for (const spirv_cross::Resource& in : r.stage_inputs) {
            const Semantic s = semanticOf(in.id);
            if (!isFloatVector(in.type_id)) {
                messages += "error: input '" + in.name + "' must be a float vector\n";
                return false;
            }
            if (m_stage == ShaderStage::Pixel) {
                if (s.usage != 5 && s.usage != 10) {
                    messages += "error: pixel input semantic '" + s.label() + "' not supported\n";
                    return false;
                }
                addVarying(in.id, in.type_id, s, "tx_p_", false, blob.inputs);
                continue;
            }
            if (!isVertexInputSemantic(s)) {
                messages += "error: vertex input semantic '" + s.label() + "' not supported\n";
                return false;
            }
            // The device binds attributes by name to its own locations; an explicit location
            // in the GLSL would override that binding.
            const std::string name = "tx_a_" + s.label();
            m_compiler.set_name(in.id, name);
            m_compiler.unset_decoration(in.id, spv::DecorationLocation);
            blob.inputs.push_back({name, s.usage, s.index});
        }
        return true;
    }

    bool mapOutputs(const spirv_cross::ShaderResources& r, ShaderBlob& blob,
                    std::string& messages) {
        for (const spirv_cross::Resource& out : r.stage_outputs) {
            const Semantic s = semanticOf(out.id);
            if (!isFloatVector(out.type_id)) {
                messages += "error: output '" + out.name + "' must be a float vector\n";
                return false;
            }
            if (m_stage == ShaderStage::Pixel) {
                if (s.usage != 10 || s.index > 3) {
                    messages += "error: pixel output semantic '" + s.label() + "' not supported\n";
                    return false;
                }
                const std::string name = "tx_Target" + std::to_string(s.index);
                m_compiler.set_name(out.id, name);
                m_compiler.set_decoration(out.id, spv::DecorationLocation, s.index);
                blob.outputs.push_back({name, s.usage, s.index});
                continue;
            }
            if (s.usage == 0 && s.index == 0) {
                m_compiler.unset_decoration(out.id, spv::DecorationLocation);
                m_compiler.set_decoration(out.id, spv::DecorationBuiltIn, spv::BuiltInPosition);
                blob.outputs.push_back({"gl_Position", 0, 0});
                continue;
            }
            if ((s.usage != 5 && s.usage != 10 && s.usage != 11 && s.usage != 4) || s.index > 7) {
                messages += "error: vertex output semantic '" + s.label() + "' not supported\n";
                return false;
            }
            addVarying(out.id, out.type_id, s, "tx_o_", s.usage == 10, blob.outputs);
        }
        return true;
    }

    bool mapConstants(const spirv_cross::ShaderResources& r, ShaderBlob& blob,
                      std::string& messages) {
        if (r.uniform_buffers.empty()) {
            return true;
        }
        if (r.uniform_buffers.size() > 1 || !r.push_constant_buffers.empty()) {
            messages += "error: constant buffers are not available in this profile\n";
            return false;
        }
        const spirv_cross::Resource& block = r.uniform_buffers.front();
        blob.uniformBlock = m_stage == ShaderStage::Vertex ? "VSConstants" : "PSConstants";
        m_compiler.set_name(block.base_type_id, blob.uniformBlock);
        m_compiler.set_name(block.id, m_stage == ShaderStage::Vertex ? "tx_vs" : "tx_ps");
        const spirv_cross::SPIRType& type = m_compiler.get_type(block.base_type_id);
        const size_t size = m_compiler.get_declared_struct_size(type);
        blob.uniformBlockSize = static_cast<uint32_t>((size + 15) / 16 * 16);

        uint32_t floatRegister = 0;
        uint32_t boolRegister = 0;
        for (uint32_t i = 0; i < type.member_types.size(); ++i) {
            ShaderConstant c;
            if (!describeMember(block.base_type_id, type, i, c, messages)) {
                return false;
            }
            c.glslName = blob.uniformBlock + "." + c.name;
            uint32_t& next = c.set == RegisterSet::Bool ? boolRegister : floatRegister;
            c.registerIndex = next;
            next += c.registerCount;
            blob.constants.push_back(c);
        }
        return true;
    }

    bool describeMember(spirv_cross::TypeID blockType, const spirv_cross::SPIRType& type,
                        uint32_t i, ShaderConstant& c, std::string& messages) const {
        const spirv_cross::SPIRType& member = m_compiler.get_type(type.member_types[i]);
        c.name = m_compiler.get_member_name(blockType, i);
        c.uniformOffset = m_compiler.type_struct_member_offset(type, i);
        c.elements = member.array.empty() ? 1 : member.array[0];
        if (member.array.size() > 1 || c.elements == 0 ||
            member.basetype == spirv_cross::SPIRType::Struct) {
            messages += "error: constant '" + c.name + "' has an unsupported type\n";
            return false;
        }
        if (member.basetype == spirv_cross::SPIRType::UInt ||
            member.basetype == spirv_cross::SPIRType::Boolean) {
            // glslang stores HLSL bool constants as 32-bit unsigned integers.
            if (member.vecsize != 1 || member.columns != 1) {
                messages += "error: bool vector constant '" + c.name + "' is not supported\n";
                return false;
            }
            c.set = RegisterSet::Bool;
            c.parameterType = kTypeBool;
            c.parameterClass = kClassScalar;
            c.rows = c.columns = 1;
            c.bytesPerRegister = 4;
            c.registerCount = c.elements;
            return true;
        }
        if (member.basetype != spirv_cross::SPIRType::Float) {
            messages += "error: constant '" + c.name + "' must be float or bool\n";
            return false;
        }
        c.set = RegisterSet::Float4;
        c.parameterType = kTypeFloat;
        if (member.columns == 1) {
            c.parameterClass = member.vecsize == 1 ? kClassScalar : kClassVector;
            c.rows = 1;
            c.columns = member.vecsize;
            c.bytesPerRegister = 4 * member.vecsize;
            c.registerCount = c.elements;
            return true;
        }
        // Each register holds one 16-byte stride of the std140 matrix: a row of a row_major
        // GLSL matrix, a column otherwise. HLSL's default column_major arrives as row_major.
        const bool rowMajorInGlsl =
            m_compiler.has_member_decoration(blockType, i, spv::DecorationRowMajor);
        c.parameterClass = rowMajorInGlsl ? kClassMatrixColumns : kClassMatrixRows;
        c.rows = member.columns;
        c.columns = member.vecsize;
        c.bytesPerRegister = 16;
        c.registerCount = (rowMajorInGlsl ? member.vecsize : member.columns) * c.elements;
        return true;
    }

    bool mapSamplers(const spirv_cross::ShaderResources& r, ShaderBlob& blob,
                     std::string& messages) {
        if (!r.separate_images.empty() || !r.separate_samplers.empty() ||
            !r.storage_images.empty() || !r.storage_buffers.empty()) {
            messages += "error: only sampler2D, sampler3D and samplerCUBE are supported\n";
            return false;
        }
        for (const spirv_cross::Resource& s : r.sampled_images) {
            ShaderConstant c;
            c.name = s.name;
            c.glslName = "tx_s_" + s.name;
            c.set = RegisterSet::Sampler;
            c.registerIndex = m_compiler.get_decoration(s.id, spv::DecorationBinding);
            c.registerCount = 1;
            c.uniformOffset = 0;
            c.bytesPerRegister = 0;
            c.rows = c.columns = 1;
            c.parameterClass = kClassObject;
            const spirv_cross::SPIRType& type = m_compiler.get_type(s.type_id);
            c.parameterType = type.image.dim == spv::Dim3D     ? kTypeSampler3D
                              : type.image.dim == spv::DimCube ? kTypeSamplerCube
                                                               : kTypeSampler2D;
            if (c.registerIndex > 15) {
                messages += "error: sampler '" + s.name + "' beyond register s15\n";
                return false;
            }
            m_compiler.set_name(s.id, c.glslName);
            m_compiler.unset_decoration(s.id, spv::DecorationBinding);
            m_compiler.unset_decoration(s.id, spv::DecorationDescriptorSet);
            blob.constants.push_back(c);
        }
        return true;
    }

    // Demotes the narrow varyings to globals, renames the program's main and adds a wrapper
    // that converts varyings, saturates colours and applies the device's position fix-up.
    std::string wrapMain(const std::string& glsl) const {
        std::istringstream lines(glsl);
        std::ostringstream out;
        std::string line;
        while (std::getline(lines, line)) {
            out << rewriteLine(line) << '\n';
        }
        const bool vertex = m_stage == ShaderStage::Vertex;
        if (vertex) {
            out << "uniform vec4 tx_PosFixup;\n\n";
        }
        out << "void main()\n{\n";
        for (const Varying& v : m_varyings) {
            if (!v.narrow.empty() && !vertex) {
                out << "    " << v.narrow << " = " << narrowFrom(v) << ";\n";
            }
        }
        out << "    tx_main();\n";
        for (const Varying& v : m_varyings) {
            if (!v.narrow.empty() && vertex) {
                const std::string value = widen(v);
                out << "    " << v.wide << " = "
                    << (v.saturate ? "clamp(" + value + ", 0.0, 1.0)" : value) << ";\n";
            }
        }
        if (vertex) {
            out << "    gl_Position.xy = gl_Position.xy * tx_PosFixup.xy + tx_PosFixup.zw * "
                   "gl_Position.w;\n";
        }
        out << "}\n";
        return out.str();
    }

    std::string rewriteLine(const std::string& line) const {
        if (line == "void main()") {
            return "void tx_main()";
        }
        for (const Varying& v : m_varyings) {
            if (v.narrow.empty()) {
                continue;
            }
            const std::string tail = " " + v.narrow + ";";
            const bool declaration = line.rfind("in ", 0) == 0 || line.rfind("out ", 0) == 0 ||
                                     line.rfind("layout(", 0) == 0;
            if (declaration && line.size() > tail.size() &&
                line.compare(line.size() - tail.size(), tail.size(), tail) == 0) {
                const char* qualifier = m_stage == ShaderStage::Vertex ? "out" : "in";
                return vecType(v.components) + tail + "\n" + qualifier + " vec4 " + v.wide + ";";
            }
        }
        return line;
    }

    spirv_cross::CompilerGLSL m_compiler;
    ShaderStage m_stage;
    std::vector<Varying> m_varyings;
};

} // namespace

bool translateSpirvToBlob(std::vector<uint32_t> spirv, ShaderStage stage, ShaderBlob& blob,
                          std::string& messages) {
    try {
        Translator translator(std::move(spirv), stage);
        return translator.run(blob, messages);
    } catch (const std::exception& e) {
        messages += std::string("error: GLSL translation failed: ") + e.what() + "\n";
        return false;
    }
}

} // namespace tarnelix::d3dx

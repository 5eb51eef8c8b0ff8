// What the device reports in its caps, each bit and limit with the test that draws it. A bit
// reported without a row, a row for a bit not reported, a limit other than its row's value, or
// a row naming a test that is not there fails.

#include "D3d9TestDevice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace tarnelix::test;

namespace {

struct BitRow {
    const char* field;
    DWORD bits;
    const char* test;
};

struct LimitRow {
    const char* field;
    double value;
    const char* test;
};

constexpr DWORD kAddress = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR |
                           D3DPTADDRESSCAPS_CLAMP | D3DPTADDRESSCAPS_BORDER |
                           D3DPTADDRESSCAPS_INDEPENDENTUV | D3DPTADDRESSCAPS_MIRRORONCE;
constexpr DWORD kPointAndLinear = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR |
                                  D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
constexpr DWORD kMipFilters = D3DPTFILTERCAPS_MIPFPOINT | D3DPTFILTERCAPS_MIPFLINEAR;

const char* const kCompares = "FixedFunction.EveryCompareFunctionForDepthAndAlpha";
const char* const kBlendFactors = "FixedFunction.EveryBlendFactorAsSourceAndDestination";
const char* const kBlendOps = "FixedFunction.BlendOperationsSeparateAlphaAndColourWriteMask";
const char* const kEightStages = "FixedFunction.EightStagesEachWithItsTextureAndCoordinateSet";
const char* const kLightTypes =
    "Lighting.LightTypesAttenuationSpotConesAndAmbientAsTheEquationsGiveThem";
const char* const kAddressing = "TextureKinds.EveryAddressModeOnEachAxisAndFarOut";
const char* const kFilters = "TextureKinds.PointAndLinearFiltersMagnifyingAndMinifying";
const char* const kMips = "TextureKinds.MipFiltersAndLevelOfDetailBias";
const char* const kAnisotropy = "Textures.AnisotropicFilteringUpToTheCapsLargest";
const char* const kCubeFaces = "CubeTextures.FixedFunctionSamplesEachFaceWhereDirect3DPutsIt";
const char* const kCubeMips = "CubeTextures.MipLevelsOfEachFaceAreLockedApart";
const char* const kSizes = "Textures.SizesBeyondTheDriversOrTheCapsLargestAreRefused";
const char* const kFarVertices = "D3d9Raster.VerticesAtTheGuardBandAndTheLargestWAreDrawn";
const char* const kDrawLimits = "D3d9Device.DrawsAtTheLargestPrimitiveCountAndVertexIndex";
const char* const kStreams = "D3d9Device.TheLastStreamTheLargestStrideAndStreamOffsets";
const char* const kRenderTargets =
    "Textures.RenderTargetTexturesSampleTheRightWayUpAndShareTheDepthBuffer";
// Programs come as HLSL, compiled to GLSL: the shader model 3.0 instruction, temporary and
// flow-control counts are the minimums that model requires, held by GLSL on any GL 3.3 driver;
// these rows name the tests that compile the HLSL of the time and draw with its programs.
const char* const kHlsl = "ShaderCompiler.IdiomsOfTheEraCompile";
const char* const kPrograms = "D3d9Shader.ProgramsReadConstantRegistersAndSamplersByRegister";

const BitRow kBits[] = {
    {"Caps2", D3DCAPS2_DYNAMICTEXTURES, "Textures.TexturesOfOneValueShowTheirTexelAndLaterWrites"},
    {"Caps2", D3DCAPS2_CANAUTOGENMIPMAP, "CubeTextures.AutomaticMipmapsAreMadeForEveryFace"},
    // Windowed or full screen, the back buffer is drawn and blended the same way.
    {"Caps3", D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD, kBlendFactors},
    {"PresentationIntervals", D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE,
     "D3d9Device.ResetsAndPresentsWithEachIntervalTheCapsName"},
    {"DevCaps", D3DDEVCAPS_HWTRANSFORMANDLIGHT, kLightTypes},
    {"DevCaps", D3DDEVCAPS_HWRASTERIZATION,
     "D3d9Raster.EdgesThroughPixelCentresFollowTheTopLeftRule"},
    {"DevCaps", D3DDEVCAPS_DRAWPRIMTLVERTEX,
     "D3d9Raster.PretransformedPixelCentresAreAtIntegerCoordinates"},
    {"DevCaps", D3DDEVCAPS_TEXTUREVIDEOMEMORY, kRenderTargets},
    {"DevCaps", D3DDEVCAPS_DRAWPRIMITIVES2 | D3DDEVCAPS_DRAWPRIMITIVES2EX,
     "Textures.IndexedDrawsFromVertexAndIndexBuffers"},
    {"PrimitiveMiscCaps", D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW,
     "D3d9Raster.CullModesFollowDirect3DWinding"},
    {"PrimitiveMiscCaps", D3DPMISCCAPS_MASKZ, kCompares},
    {"PrimitiveMiscCaps",
     D3DPMISCCAPS_COLORWRITEENABLE | D3DPMISCCAPS_BLENDOP | D3DPMISCCAPS_SEPARATEALPHABLEND,
     kBlendOps},
    {"RasterCaps", D3DPRASTERCAPS_ZTEST, kCompares},
    {"RasterCaps", D3DPRASTERCAPS_ANISOTROPY, kAnisotropy},
    {"RasterCaps", D3DPRASTERCAPS_SCISSORTEST,
     "D3d9Raster.ScissorRectKeepsDrawsInsideItsRowsAndColumns"},
    {"RasterCaps", D3DPRASTERCAPS_MIPMAPLODBIAS, kMips},
    {"RasterCaps",
     D3DPRASTERCAPS_FOGVERTEX | D3DPRASTERCAPS_FOGTABLE | D3DPRASTERCAPS_FOGRANGE |
         D3DPRASTERCAPS_ZFOG | D3DPRASTERCAPS_WFOG,
     "Fog.ModesAtKnownDepthsAsTheFormulasGiveThem"},
    {"RasterCaps", D3DPRASTERCAPS_DEPTHBIAS, "DepthBias.ConstantBiasInStepsOfA24BitBuffer"},
    {"RasterCaps", D3DPRASTERCAPS_SLOPESCALEDEPTHBIAS,
     "DepthBias.SlopeScaledBiasFollowsTheDepthSlope"},
    {"ZCmpCaps", 0xFF, kCompares}, // all eight functions
    {"AlphaCmpCaps", 0xFF, kCompares},
    {"SrcBlendCaps", 0x3FFF, kBlendFactors}, // ZERO to BLENDFACTOR (and INVBLENDFACTOR)
    {"DestBlendCaps", 0x3FFF & ~DWORD{D3DPBLENDCAPS_BOTHSRCALPHA | D3DPBLENDCAPS_BOTHINVSRCALPHA},
     kBlendFactors},
    {"ShadeCaps",
     D3DPSHADECAPS_COLORGOURAUDRGB | D3DPSHADECAPS_SPECULARGOURAUDRGB |
         D3DPSHADECAPS_ALPHAGOURAUDBLEND,
     "FixedFunction.ColourSpecularAndAlphaAreInterpolatedAcrossTriangles"},
    {"TextureCaps", D3DPTEXTURECAPS_ALPHA, "FixedFunction.AlphaTestComparesWithAlphaRef"},
    {"TextureCaps", D3DPTEXTURECAPS_PERSPECTIVE,
     "Textures.CoordinatesAreInterpolatedWithPerspective"},
    {"TextureCaps", D3DPTEXTURECAPS_MIPMAP, "Textures.MipFilterChoosesLevels"},
    {"TextureCaps", D3DPTEXTURECAPS_VOLUMEMAP,
     "Textures.VolumeTexturesLockAndSampleInThreeDimensions"},
    {"TextureCaps", D3DPTEXTURECAPS_MIPVOLUMEMAP, kMips},
    {"TextureCaps", D3DPTEXTURECAPS_CUBEMAP, kCubeFaces},
    {"TextureCaps", D3DPTEXTURECAPS_MIPCUBEMAP, kCubeMips},
    {"TextureFilterCaps", kPointAndLinear, kFilters},
    {"TextureFilterCaps", kMipFilters, kMips},
    {"TextureFilterCaps", D3DPTFILTERCAPS_MINFANISOTROPIC, kAnisotropy},
    {"VolumeTextureFilterCaps", kPointAndLinear, kFilters},
    {"VolumeTextureFilterCaps", kMipFilters, kMips},
    {"CubeTextureFilterCaps", D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MAGFPOINT, kCubeFaces},
    {"CubeTextureFilterCaps", D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFLINEAR,
     "CubeTextures.LinearFilteringBlendsTexelsOfAFace"},
    {"CubeTextureFilterCaps", D3DPTFILTERCAPS_MIPFPOINT, kCubeMips},
    {"TextureAddressCaps", kAddress, kAddressing},
    {"VolumeTextureAddressCaps", kAddress, kAddressing},
    {"LineCaps", D3DLINECAPS_TEXTURE | D3DLINECAPS_ZTEST | D3DLINECAPS_BLEND | D3DLINECAPS_ALPHACMP,
     "D3d9Raster.LinesAreTexturedDepthTestedBlendedAndAlphaTested"},
    {"StencilCaps", 0x1FF, "D3d9Raster.EveryStencilOperationAndTwoSidedStencil"}, // + TWOSIDED
    {"FVFCaps", 8, kEightStages}, // texture coordinate sets
    {"FVFCaps", D3DFVFCAPS_PSIZE, "Points.SizesFromStateOrVertexHeldBetweenTheLimits"},
    {"TextureOpCaps",
     0x3FFFFFF & ~DWORD{D3DTEXOPCAPS_PREMODULATE | D3DTEXOPCAPS_BUMPENVMAP |
                        D3DTEXOPCAPS_BUMPENVMAPLUMINANCE},
     "FixedFunction.EveryTextureOperationAsItsFormulaGivesIt"},
    {"VertexProcessingCaps", D3DVTXPCAPS_DIRECTIONALLIGHTS | D3DVTXPCAPS_POSITIONALLIGHTS,
     kLightTypes},
    {"VertexProcessingCaps", D3DVTXPCAPS_MATERIALSOURCE7,
     "Lighting.MaterialSourcesTakeVertexColoursWhereTheVertexHasThem"},
    {"VertexProcessingCaps", D3DVTXPCAPS_LOCALVIEWER, "Lighting.SpecularWithLocalAndDistantViewer"},
    {"VertexProcessingCaps", D3DVTXPCAPS_TEXGEN, "TexGen.CameraSpaceNormalsGoThroughTheViewMatrix"},
    {"DevCaps2", D3DDEVCAPS2_STREAMOFFSET, kStreams},
    {"DevCaps2", D3DDEVCAPS2_CAN_STRETCHRECT_FROM_TEXTURES,
     "ResourceRules.EachCaseAnswersAsTheRuntimeDoes"},
    {"DeclTypes",
     D3DDTCAPS_UBYTE4 | D3DDTCAPS_UBYTE4N | D3DDTCAPS_SHORT2N | D3DDTCAPS_SHORT4N |
         D3DDTCAPS_USHORT2N | D3DDTCAPS_USHORT4N | D3DDTCAPS_FLOAT16_2 | D3DDTCAPS_FLOAT16_4,
     "FixedFunction.VertexColoursInEveryDeclarationType"},
    {"StretchRectFilterCaps", kPointAndLinear,
     "ResourceRules.StretchRectScalesAPlainSurfaceOntoTheBackBuffer"},
};

const LimitRow kLimits[] = {
    {"MaxTextureWidth", 4096, kSizes},
    {"MaxTextureHeight", 4096, kSizes},
    {"MaxVolumeExtent", 2048, kSizes},
    {"MaxTextureAspectRatio", 4096, kSizes},
    {"MaxTextureRepeat", 8192, kAddressing},
    {"MaxAnisotropy", 16, kAnisotropy},
    {"MaxVertexW", 1e10f, kFarVertices},
    {"GuardBandLeft", -8192, kFarVertices},
    {"GuardBandTop", -8192, kFarVertices},
    {"GuardBandRight", 8192, kFarVertices},
    {"GuardBandBottom", 8192, kFarVertices},
    {"MaxTextureBlendStages", 8, kEightStages},
    {"MaxSimultaneousTextures", 8, kEightStages},
    {"MaxActiveLights", 8, kLightTypes},
    {"MaxUserClipPlanes", 6, "ClipPlanes.FixedFunctionPlanesAreInWorldSpace"},
    {"MaxPointSize", 64, "PointsLargest.TheCapsLargestSizeIsDrawn"},
    {"MaxPrimitiveCount", 0xFFFFF, kDrawLimits},
    {"MaxVertexIndex", 0xFFFFF, kDrawLimits},
    {"MaxStreams", 16, kStreams},
    {"MaxStreamStride", 255, kStreams},
    {"VertexShaderVersion", D3DVS_VERSION(3, 0),
     "Instancing.ProgramDrawsEachInstanceWithItsOffsetAndColour"},
    {"MaxVertexShaderConst", 256, "D3d9Shader.ConstantRegistersEndWhereTheCapsSay"},
    {"PixelShaderVersion", D3DPS_VERSION(3, 0),
     "Fog.PixelProgramsBelowThreeAreFoggedAndThreeAreNot"},
    {"PixelShader1xMaxValue", 65504, kHlsl},
    {"NumSimultaneousRTs", 1, kRenderTargets},
    {"VS20Caps.DynamicFlowControlDepth", 24, kHlsl},
    {"VS20Caps.NumTemps", 32, kHlsl},
    {"VS20Caps.StaticFlowControlDepth", 4, kHlsl},
    {"PS20Caps.DynamicFlowControlDepth", 24, kHlsl},
    {"PS20Caps.NumTemps", 32, kHlsl},
    {"PS20Caps.StaticFlowControlDepth", 4, kHlsl},
    {"PS20Caps.NumInstructionSlots", 512, kPrograms},
    {"MaxVShaderInstructionsExecuted", 65535, kPrograms},
    {"MaxPShaderInstructionsExecuted", 65535, kPrograms},
    {"MaxVertexShader30InstructionSlots", 512, kPrograms},
    {"MaxPixelShader30InstructionSlots", 512, kPrograms},
};

using Field = std::function<double(const D3DCAPS9&)>;
#define TX_FIELD(name)                                                                             \
    {                                                                                              \
#name, [](const D3DCAPS9& c) { return static_cast<double>(c.name); }                       \
    }

// Every field of D3DCAPS9 but the adapter's identity (type and ordinals).
const std::vector<std::pair<std::string, Field>> kBitFields = {TX_FIELD(Caps),
                                                               TX_FIELD(Caps2),
                                                               TX_FIELD(Caps3),
                                                               TX_FIELD(PresentationIntervals),
                                                               TX_FIELD(CursorCaps),
                                                               TX_FIELD(DevCaps),
                                                               TX_FIELD(PrimitiveMiscCaps),
                                                               TX_FIELD(RasterCaps),
                                                               TX_FIELD(ZCmpCaps),
                                                               TX_FIELD(SrcBlendCaps),
                                                               TX_FIELD(DestBlendCaps),
                                                               TX_FIELD(AlphaCmpCaps),
                                                               TX_FIELD(ShadeCaps),
                                                               TX_FIELD(TextureCaps),
                                                               TX_FIELD(TextureFilterCaps),
                                                               TX_FIELD(CubeTextureFilterCaps),
                                                               TX_FIELD(VolumeTextureFilterCaps),
                                                               TX_FIELD(TextureAddressCaps),
                                                               TX_FIELD(VolumeTextureAddressCaps),
                                                               TX_FIELD(LineCaps),
                                                               TX_FIELD(StencilCaps),
                                                               TX_FIELD(FVFCaps),
                                                               TX_FIELD(TextureOpCaps),
                                                               TX_FIELD(VertexProcessingCaps),
                                                               TX_FIELD(DevCaps2),
                                                               TX_FIELD(DeclTypes),
                                                               TX_FIELD(StretchRectFilterCaps),
                                                               TX_FIELD(VS20Caps.Caps),
                                                               TX_FIELD(PS20Caps.Caps),
                                                               TX_FIELD(VertexTextureFilterCaps)};
const std::vector<std::pair<std::string, Field>> kLimitFields = {
    TX_FIELD(MaxTextureWidth),
    TX_FIELD(MaxTextureHeight),
    TX_FIELD(MaxVolumeExtent),
    TX_FIELD(MaxTextureRepeat),
    TX_FIELD(MaxTextureAspectRatio),
    TX_FIELD(MaxAnisotropy),
    TX_FIELD(MaxVertexW),
    TX_FIELD(GuardBandLeft),
    TX_FIELD(GuardBandTop),
    TX_FIELD(GuardBandRight),
    TX_FIELD(GuardBandBottom),
    TX_FIELD(ExtentsAdjust),
    TX_FIELD(MaxTextureBlendStages),
    TX_FIELD(MaxSimultaneousTextures),
    TX_FIELD(MaxActiveLights),
    TX_FIELD(MaxUserClipPlanes),
    TX_FIELD(MaxVertexBlendMatrices),
    TX_FIELD(MaxVertexBlendMatrixIndex),
    TX_FIELD(MaxPointSize),
    TX_FIELD(MaxPrimitiveCount),
    TX_FIELD(MaxVertexIndex),
    TX_FIELD(MaxStreams),
    TX_FIELD(MaxStreamStride),
    TX_FIELD(VertexShaderVersion),
    TX_FIELD(MaxVertexShaderConst),
    TX_FIELD(PixelShaderVersion),
    TX_FIELD(PixelShader1xMaxValue),
    TX_FIELD(MaxNpatchTessellationLevel),
    TX_FIELD(NumSimultaneousRTs),
    TX_FIELD(VS20Caps.DynamicFlowControlDepth),
    TX_FIELD(VS20Caps.NumTemps),
    TX_FIELD(VS20Caps.StaticFlowControlDepth),
    TX_FIELD(PS20Caps.DynamicFlowControlDepth),
    TX_FIELD(PS20Caps.NumTemps),
    TX_FIELD(PS20Caps.StaticFlowControlDepth),
    TX_FIELD(PS20Caps.NumInstructionSlots),
    TX_FIELD(MaxVShaderInstructionsExecuted),
    TX_FIELD(MaxPShaderInstructionsExecuted),
    TX_FIELD(MaxVertexShader30InstructionSlots),
    TX_FIELD(MaxPixelShader30InstructionSlots)};
#undef TX_FIELD

bool known(const std::vector<std::pair<std::string, Field>>& fields, const std::string& name) {
    for (const auto& f : fields) {
        if (f.first == name) {
            return true;
        }
    }
    return false;
}

// The adapter's caps are the table exactly; a device on a driver that lacks something reports
// less, never more.
void expectTheTable(const D3DCAPS9& caps, bool exactly) {
    for (const auto& [name, read] : kBitFields) {
        DWORD claimed = 0;
        for (const BitRow& row : kBits) {
            if (name == row.field) {
                EXPECT_EQ(claimed & row.bits, 0u) << name << ": rows overlap";
                claimed |= row.bits;
            }
        }
        auto reported = static_cast<DWORD>(read(caps));
        if (exactly) {
            EXPECT_EQ(reported & ~claimed, 0u) << name << ": reported without a row";
            EXPECT_EQ(claimed & ~reported, 0u) << name << ": a row not reported";
        } else {
            EXPECT_EQ(reported & ~claimed, 0u) << name << ": reported without a row";
        }
    }
    for (const auto& [name, read] : kLimitFields) {
        double value = 0;
        for (const LimitRow& row : kLimits) {
            if (name == row.field) {
                value = row.value;
            }
        }
        if (exactly) {
            EXPECT_EQ(read(caps), value) << name;
        } else {
            EXPECT_LE(read(caps), value) << name;
        }
    }
}

} // namespace

TEST(D3d9Caps, ReportedExactlyAsTheTableSays) {
    for (const BitRow& row : kBits) {
        EXPECT_TRUE(known(kBitFields, row.field)) << row.field;
    }
    for (const LimitRow& row : kLimits) {
        EXPECT_TRUE(known(kLimitFields, row.field)) << row.field;
    }
    TestDevice t;
    ASSERT_TRUE(t.ok());
    D3DCAPS9 adapter{};
    ASSERT_EQ(t.d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &adapter), D3D_OK);
    expectTheTable(adapter, true);
    D3DCAPS9 device{};
    ASSERT_EQ(t.device->GetDeviceCaps(&device), D3D_OK);
    expectTheTable(device, false);
}

TEST(D3d9Caps, EveryRowNamesATestThatIsThere) {
    std::set<std::string> tests;
    const std::regex declaration(R"(TEST(?:_F|_P)?\(\s*(\w+)\s*,\s*(\w+))");
    for (const auto& entry : std::filesystem::directory_iterator(TARNELIX_TESTS_DIR)) {
        if (entry.path().extension() != ".cpp" || entry.path().filename() == "D3d9CapsTest.cpp") {
            continue;
        }
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string source = text.str();
        for (std::sregex_iterator m(source.begin(), source.end(), declaration), end; m != end;
             ++m) {
            tests.insert((*m)[1].str() + "." + (*m)[2].str());
        }
    }
    ASSERT_GT(tests.size(), 100u);
    for (const BitRow& row : kBits) {
        EXPECT_EQ(tests.count(row.test), 1u) << row.field << " names " << row.test;
    }
    for (const LimitRow& row : kLimits) {
        EXPECT_EQ(tests.count(row.test), 1u) << row.field << " names " << row.test;
    }
}

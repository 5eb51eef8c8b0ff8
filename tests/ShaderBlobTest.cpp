#include "tarnelix/ShaderBlob.h"

#include <gtest/gtest.h>

using namespace tarnelix;

TEST(ShaderBlob, RoundTripsEveryField) {
    ShaderBlob blob;
    blob.stage = ShaderStage::Pixel;
    blob.versionMajor = 1;
    blob.versionMinor = 1;
    blob.glsl = "#version 330\nvoid main() {}\n"; // length not a multiple of four
    blob.uniformBlock = "PSConstants";
    blob.uniformBlockSize = 80;
    blob.inputs = {{"tx_v_TEXCOORD0", 5, 0}, {"tx_v_COLOR0", 10, 0}};
    ShaderConstant m;
    m.name = "worldViewProj";
    m.glslName = "worldViewProj";
    m.registerIndex = 4;
    m.registerCount = 4;
    m.uniformOffset = 16;
    m.rows = m.columns = 4;
    ShaderConstant s;
    s.name = "tex";
    s.glslName = "SPIRV_Cross_Combinedtex";
    s.set = RegisterSet::Sampler;
    s.registerIndex = 1;
    blob.constants = {m, s};

    std::vector<uint32_t> words = serializeShaderBlob(blob);
    EXPECT_EQ(shaderBlobSize(words.data()), words.size());
    EXPECT_EQ(words.back(), kShaderBlobEnd);

    ShaderBlob back;
    ASSERT_TRUE(parseShaderBlob(words.data(), back));
    EXPECT_EQ(back.stage, ShaderStage::Pixel);
    EXPECT_EQ(back.glsl, blob.glsl);
    EXPECT_EQ(back.uniformBlock, "PSConstants");
    EXPECT_EQ(back.uniformBlockSize, 80u);
    ASSERT_EQ(back.inputs.size(), 2u);
    EXPECT_EQ(back.inputs[1].glslName, "tx_v_COLOR0");
    EXPECT_EQ(back.inputs[1].usage, 10u);
    ASSERT_EQ(back.constants.size(), 2u);
    EXPECT_EQ(back.constants[0].registerIndex, 4u);
    EXPECT_EQ(back.constants[0].uniformOffset, 16u);
    EXPECT_EQ(back.constants[1].set, RegisterSet::Sampler);
    EXPECT_EQ(back.constants[1].glslName, "SPIRV_Cross_Combinedtex");
}

TEST(ShaderBlob, RefusesDamagedBlobs) {
    ShaderBlob blob;
    blob.glsl = "void main() {}";
    std::vector<uint32_t> words = serializeShaderBlob(blob);
    ShaderBlob out;

    std::vector<uint32_t> badMagic = words;
    badMagic[0] = 0xFFFE0200; // real vs_2_0 bytecode
    EXPECT_FALSE(parseShaderBlob(badMagic.data(), out));

    // A text length running past the blob.
    std::vector<uint32_t> badText = words;
    badText[5] = 0x7FFFFFFF;
    EXPECT_FALSE(parseShaderBlob(badText.data(), out));

    // A length that cuts off the end token.
    std::vector<uint32_t> shortened = words;
    shortened[1] -= 1;
    EXPECT_FALSE(parseShaderBlob(shortened.data(), out));
}

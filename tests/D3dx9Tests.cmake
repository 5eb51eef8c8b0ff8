# Tests of the extension library stand-in and of the engine code built on it.
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
tarnelix_test(d3dx_image_test SOURCES D3dxImageTest.cpp ImageEncoding.cpp
              LIBS tarnelix_d3dx9_core JPEG::JPEG PNG::PNG)
tarnelix_test(d3dx_mesh_core_test SOURCES D3dxMeshCoreTest.cpp LIBS tarnelix_d3dx9_core)
tarnelix_test(d3dx_shader_compiler_test SOURCES D3dxShaderCompilerTest.cpp LIBS tarnelix_d3dx9_core)
target_compile_definitions(d3dx_shader_compiler_test PRIVATE
    TARNELIX_DATA_DIR="${PROJECT_SOURCE_DIR}/data")
tarnelix_test(d3dx_child_process_test SOURCES D3dxChildProcessTest.cpp LIBS tarnelix_d3dx9_core)

# The library's interfaces over a device in memory.
add_library(tarnelix_memory_device STATIC MemoryDevice.cpp)
target_link_libraries(tarnelix_memory_device PUBLIC tarnelix_options tarnelix_d3d9 tarnelix_d3dx9)
target_include_directories(tarnelix_memory_device PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
tarnelix_test(d3dx_texture_test SOURCES D3dxTextureTest.cpp ImageEncoding.cpp
              LIBS tarnelix_d3dx9 tarnelix_memory_device JPEG::JPEG PNG::PNG)
tarnelix_test(d3dx_mesh_test SOURCES D3dxMeshTest.cpp LIBS tarnelix_d3dx9 tarnelix_memory_device)
tarnelix_test(d3dx_constant_table_test SOURCES D3dxConstantTableTest.cpp
              LIBS tarnelix_d3dx9 tarnelix_memory_device)
target_compile_definitions(d3dx_constant_table_test PRIVATE
    TARNELIX_DATA_DIR="${PROJECT_SOURCE_DIR}/data")
tarnelix_test(d3dx_math_test SOURCES D3dxMathTest.cpp LIBS tarnelix_d3dx9)
tarnelix_test(texture_cache_test SOURCES TextureCacheTest.cpp ImageEncoding.cpp TempDir.cpp
              LIBS tarnelix_resources tarnelix_memory_device JPEG::JPEG PNG::PNG)
tarnelix_test(shader_programs_test SOURCES ShaderProgramsTest.cpp
              LIBS tarnelix_render tarnelix_memory_device)
target_compile_definitions(shader_programs_test PRIVATE
    TARNELIX_DATA_DIR="${PROJECT_SOURCE_DIR}/data")
find_package(SDL2 REQUIRED CONFIG)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
tarnelix_test(d3dx_glsl_link_test SOURCES D3dxGlslLinkTest.cpp
              LIBS tarnelix_d3dx9_core SDL2::SDL2 OpenGL::OpenGL)
target_compile_definitions(d3dx_glsl_link_test PRIVATE
    TARNELIX_DATA_DIR="${PROJECT_SOURCE_DIR}/data")
tarnelix_test(d3dx_draw_test SOURCES D3dxDrawTest.cpp ImageEncoding.cpp
              LIBS tarnelix_render tarnelix_d3d9_testing JPEG::JPEG PNG::PNG)
target_compile_definitions(d3dx_draw_test PRIVATE TARNELIX_DATA_DIR="${PROJECT_SOURCE_DIR}/data")
tarnelix_test(glsl_core_validation_test SOURCES GlslCoreValidationTest.cpp TempDir.cpp
              LIBS tarnelix_d3dx9_core tarnelix_d3d9)
target_compile_definitions(glsl_core_validation_test PRIVATE
    TARNELIX_DATA_DIR="${PROJECT_SOURCE_DIR}/data")

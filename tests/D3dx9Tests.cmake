# Tests of the extension library stand-in and of the engine code built on it.
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
tarnelix_test(d3dx_image_test SOURCES D3dxImageTest.cpp ImageEncoding.cpp
              LIBS tarnelix_d3dx9_core JPEG::JPEG PNG::PNG)
tarnelix_test(d3dx_mesh_core_test SOURCES D3dxMeshCoreTest.cpp LIBS tarnelix_d3dx9_core)
tarnelix_test(d3dx_shader_compiler_test SOURCES D3dxShaderCompilerTest.cpp LIBS tarnelix_d3dx9_core)
target_compile_definitions(d3dx_shader_compiler_test PRIVATE
    TARNELIX_DATA_DIR="${PROJECT_SOURCE_DIR}/data")

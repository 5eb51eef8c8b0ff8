# The fuzz targets' work on one input, and the test that replays the inputs kept in
# tests/data/fuzz. With TARNELIX_FUZZ (clang, `make fuzz`) also the libFuzzer targets and the
# tool that writes their generated seeds.
add_library(tarnelix_fuzz_inputs STATIC fuzz/SceneBytes.cpp fuzz/TextureBytes.cpp fuzz/HlslText.cpp
            fuzz/GltfBytes.cpp fuzz/ShowFileText.cpp)
target_link_libraries(tarnelix_fuzz_inputs PUBLIC tarnelix_options tarnelix_scene
                      tarnelix_memory_device tarnelix_scene_import tarnelix_show_file)
target_include_directories(tarnelix_fuzz_inputs PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/fuzz)

tarnelix_test(fuzz_corpus_test SOURCES FuzzCorpusTest.cpp LIBS tarnelix_fuzz_inputs)
target_compile_definitions(fuzz_corpus_test PRIVATE
    TARNELIX_FUZZ_CORPUS="${CMAKE_CURRENT_SOURCE_DIR}/data/fuzz")

if(TARNELIX_FUZZ)
    function(tarnelix_fuzz_target name check)
        add_executable(${name} fuzz/FuzzMain.cpp)
        target_link_libraries(${name} PRIVATE tarnelix_fuzz_inputs)
        target_compile_definitions(${name} PRIVATE FUZZ_CHECK=${check})
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    endfunction()
    tarnelix_fuzz_target(scene_load_fuzz loadSceneBytes)
    tarnelix_fuzz_target(texture_decode_fuzz decodeTextureBytes)
    tarnelix_fuzz_target(hlsl_compile_fuzz compileHlslText)
    tarnelix_fuzz_target(gltf_extras_fuzz readGltfExtrasBytes)
    tarnelix_fuzz_target(show_file_fuzz readShowFileText)

    find_package(JPEG REQUIRED)
    find_package(PNG REQUIRED)
    add_executable(fuzz-seeds fuzz/FuzzSeeds.cpp ImageEncoding.cpp)
    target_link_libraries(fuzz-seeds PRIVATE tarnelix_options tarnelix_scenewriter JPEG::JPEG
                          PNG::PNG)
    target_include_directories(fuzz-seeds PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
endif()

# The scene importer: its rules, conversions checked through the show's loader, and the program.
tarnelix_test(scene_import_math_test SOURCES SceneImportMathTest.cpp LIBS tarnelix_scene_import)
tarnelix_test(gltf_extras_test SOURCES GltfExtrasTest.cpp TempDir.cpp LIBS tarnelix_scene_import)
tarnelix_test(cutout_texture_test SOURCES CutoutTextureTest.cpp LIBS tarnelix_scene_import)
tarnelix_test(child_run_test SOURCES ChildRunTest.cpp LIBS tarnelix_scene_import)
tarnelix_test(scene_import_test SOURCES SceneImportTest.cpp GltfTestFile.cpp TempDir.cpp
    LIBS tarnelix_scene_import tarnelix_scene tarnelix_tool_common)
tarnelix_test(scene_import_tool_test SOURCES SceneImportToolTest.cpp TempDir.cpp)
target_compile_definitions(scene_import_tool_test PRIVATE
    SCENE_IMPORT_PROGRAM="$<TARGET_FILE:scene-import>")
add_dependencies(scene_import_tool_test scene-import)

# An imported scene played by tarnelix-capture from a copy of the show's folder.
if(TARGET tarnelix-capture)
    tarnelix_test(scene_import_show_test SOURCES SceneImportShowTest.cpp GltfTestFile.cpp
        ScratchShow.cpp TempDir.cpp LIBS PNG::PNG)
    target_compile_definitions(scene_import_show_test PRIVATE
        SCENE_IMPORT_PROGRAM="$<TARGET_FILE:scene-import>"
        TARNELIX_SHOW_DIR="${TARNELIX_SHOW_DIR}"
        TARNELIX_CAPTURE_PROGRAM="$<TARGET_FILE:tarnelix-capture>")
    add_dependencies(scene_import_show_test scene-import tarnelix-capture show)
endif()

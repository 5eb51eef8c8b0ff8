# The content generator: determinism, pictures, music.
tarnelix_test(showgen_math_test SOURCES ShowgenMathTest.cpp LIBS tarnelix_showgen)
tarnelix_test(showgen_image_test SOURCES ShowgenImageTest.cpp LIBS tarnelix_showgen)
tarnelix_test(showgen_show_test SOURCES ShowgenShowTest.cpp TempDir.cpp LIBS tarnelix_showgen)
target_compile_definitions(showgen_show_test PRIVATE
    TARNELIX_SHADER_DIR="${PROJECT_SOURCE_DIR}/data" TARNELIX_FONT_DIR="${TARNELIX_FONT_DIR}"
    TARNELIX_SHOW_DIR="${TARNELIX_SHOW_DIR}")
add_dependencies(showgen_show_test show)
tarnelix_test(showgen_music_test SOURCES ShowgenMusicTest.cpp LIBS tarnelix_showgen)
target_compile_definitions(showgen_music_test PRIVATE TARNELIX_SHOW_DIR="${TARNELIX_SHOW_DIR}")
add_dependencies(showgen_music_test show)
tarnelix_test(showgen_scene_test SOURCES ShowgenSceneTest.cpp LIBS tarnelix_showgen)
target_compile_definitions(showgen_scene_test PRIVATE TARNELIX_SHOW_DIR="${TARNELIX_SHOW_DIR}")
add_dependencies(showgen_scene_test show)
# The generated scene loads through the show's own loader, cameras and all.
add_test(NAME ShowgenScene.LoadsThroughTheSceneLoader
         COMMAND 3df-info ${TARNELIX_SHOW_DIR}/teste5.3df
         WORKING_DIRECTORY ${TARNELIX_SHOW_DIR})
set_tests_properties(ShowgenScene.LoadsThroughTheSceneLoader PROPERTIES
    ENVIRONMENT "${TARNELIX_TEST_ENVIRONMENT}"
    PASS_REGULAR_EXPRESSION "version 110, 601 frames.*[0-9]+ lights, 3 cameras.*\"Camera01\".*\"Camera02\".*\"Camera03\"")

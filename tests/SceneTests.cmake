tarnelix_test(scene_test SOURCES SceneTest.cpp LIBS tarnelix_scene)
tarnelix_test(scene_loader_test SOURCES SceneLoaderTest.cpp TempDir.cpp
    LIBS tarnelix_scene tarnelix_scenewriter tarnelix_tool_common)

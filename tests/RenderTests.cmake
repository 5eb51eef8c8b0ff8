# Tests of the render engine: its pure parts, then every pass's calls on a device that records
# them.
tarnelix_test(render_parts_test SOURCES SpriteTest.cpp ParticleTest.cpp AttenuationVolumeTest.cpp
    FrustumTest.cpp LIBS tarnelix_render)

add_library(tarnelix_call_recording_device STATIC CallRecordingDevice.cpp)
target_link_libraries(tarnelix_call_recording_device PUBLIC tarnelix_options tarnelix_d3dx9)
target_include_directories(tarnelix_call_recording_device PUBLIC ${PROJECT_SOURCE_DIR}
    ${CMAKE_CURRENT_SOURCE_DIR})

tarnelix_test(render_engine_test
    SOURCES RenderEngineTest.cpp AmbientPassTest.cpp LightPassTest.cpp BaseTexturePassTest.cpp
            ParticlePassTest.cpp GlowPassTest.cpp SpritePassTest.cpp FadePassTest.cpp
            RenderCameraTest.cpp RenderFixture.cpp
    LIBS tarnelix_render tarnelix_call_recording_device)
# The shader programs read their sources from the working directory, as the program does.
target_compile_definitions(render_engine_test PRIVATE
    TARNELIX_DATA_DIR="${PROJECT_SOURCE_DIR}/data")


# The picture on the device stand-in.
tarnelix_test(render_pixel_test SOURCES RenderPixelTest.cpp
    LIBS tarnelix_render tarnelix_d3d9_testing)
target_compile_definitions(render_pixel_test PRIVATE
    TARNELIX_DATA_DIR="${PROJECT_SOURCE_DIR}/data")

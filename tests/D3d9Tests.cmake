tarnelix_test(compat_headers_test SOURCES CompatHeadersTest.cpp LIBS tarnelix_d3d9)
add_library(tarnelix_d3d9_testing STATIC D3d9TestDevice.cpp)
target_link_libraries(tarnelix_d3d9_testing PUBLIC tarnelix_d3d9 PRIVATE tarnelix_options)
tarnelix_test(d3d9_device_test SOURCES D3d9DeviceTest.cpp
    LIBS tarnelix_d3d9_testing OpenGL::OpenGL)
tarnelix_test(d3d9_raster_test SOURCES D3d9RasterTest.cpp LIBS tarnelix_d3d9_testing)
tarnelix_test(d3d9_shader_test SOURCES D3d9ShaderTest.cpp LIBS tarnelix_d3d9_testing)
tarnelix_test(d3d9_fixed_function_test SOURCES D3d9FixedFunctionTest.cpp LIBS tarnelix_d3d9_testing)
tarnelix_test(d3d9_lighting_test SOURCES D3d9LightingTest.cpp LIBS tarnelix_d3d9_testing)
tarnelix_test(d3d9_fog_test SOURCES D3d9FogTest.cpp LIBS tarnelix_d3d9_testing)
tarnelix_test(d3d9_point_test SOURCES D3d9PointTest.cpp LIBS tarnelix_d3d9_testing)
tarnelix_test(d3d9_clip_plane_test SOURCES D3d9ClipPlaneTest.cpp LIBS tarnelix_d3d9_testing)
tarnelix_test(d3d9_depth_bias_test SOURCES D3d9DepthBiasTest.cpp LIBS tarnelix_d3d9_testing)
tarnelix_test(d3d9_texture_test SOURCES D3d9TextureTest.cpp LIBS tarnelix_d3d9_testing)
tarnelix_test(d3d9_query_test SOURCES D3d9QueryTest.cpp LIBS tarnelix_d3d9_testing)
tarnelix_test(d3d9_state_block_test SOURCES D3d9StateBlockTest.cpp LIBS tarnelix_d3d9_testing)
tarnelix_test(d3d9_instancing_test SOURCES D3d9InstancingTest.cpp LIBS tarnelix_d3d9_testing)
tarnelix_test(d3d9_cube_texture_test SOURCES D3d9CubeTextureTest.cpp
    LIBS tarnelix_d3d9_testing tarnelix_d3dx9)
tarnelix_test(d3d9_resource_rules_test SOURCES D3d9ResourceRulesTest.cpp
    LIBS tarnelix_d3d9_testing)
tarnelix_test(d3d9_tex_gen_test SOURCES D3d9TexGenTest.cpp LIBS tarnelix_d3d9_testing)
# The caps table checks that each test it names is in this folder's sources.
tarnelix_test(d3d9_caps_test SOURCES D3d9CapsTest.cpp LIBS tarnelix_d3d9_testing)
target_compile_definitions(d3d9_caps_test PRIVATE
    TARNELIX_TESTS_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
tarnelix_test(d3d9_gl_check_test SOURCES D3d9GlCheckTest.cpp LIBS tarnelix_d3d9_testing)
tarnelix_test(display_test SOURCES DisplayTest.cpp LIBS tarnelix_platform)
# Counts allocations by replacing operator new, which the sanitizers' own replacement rules out.
if(NOT TARNELIX_SANITIZE)
    tarnelix_test(d3d9_allocation_test SOURCES D3d9AllocationTest.cpp LIBS tarnelix_d3d9_testing)
endif()
add_test(NAME CompatInstall.OutsideProgramBuildsWithPkgConfig
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/compat_install_test.sh ${PROJECT_BINARY_DIR}
                 ${PROJECT_SOURCE_DIR} "$<$<BOOL:${TARNELIX_SANITIZE}>:-fsanitize=address,undefined>")
set_tests_properties(CompatInstall.OutsideProgramBuildsWithPkgConfig PROPERTIES
                     ENVIRONMENT "${TARNELIX_TEST_ENVIRONMENT}")
# One Dear ImGui frame through its own Direct3D 9 renderer (Debian's copy, unchanged) on the
# device against its OpenGL 3 renderer on plain GL.
set(imgui_backends /usr/share/doc/libimgui-dev/examples/backends)
tarnelix_test(imgui_frame_test SOURCES ImguiFrameTest.cpp ${imgui_backends}/imgui_impl_dx9.cpp
    LIBS tarnelix_d3d9_testing PkgConfig::IMGUI OpenGL::OpenGL SDL2::SDL2)
target_include_directories(imgui_frame_test PRIVATE /usr/include/imgui/backends)
# A real X11 window under a virtual X server; the test skips itself elsewhere.
find_package(X11 REQUIRED)
# Dear ImGui's Win32 + Direct3D 9 example from Debian's libimgui-dev, built unchanged against the
# installed stand-ins and driven with xdotool under Xvfb.
add_executable(imgui_example_driver ImguiExampleTest.cpp XvfbEvents.cpp XvfbScreen.cpp)
target_link_libraries(imgui_example_driver PRIVATE tarnelix_options GTest::gtest_main
                      SDL2::SDL2 X11::X11)
add_test(NAME ImguiExample.BuildsUnchangedAndWorksUnderXvfb
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/imgui_example_test.sh ${PROJECT_BINARY_DIR}
                 ${PROJECT_SOURCE_DIR} $<TARGET_FILE:imgui_example_driver>
                 "$<$<BOOL:${TARNELIX_SANITIZE}>:-fsanitize=address,undefined>")
set_tests_properties(ImguiExample.BuildsUnchangedAndWorksUnderXvfb PROPERTIES
                     ENVIRONMENT "${TARNELIX_TEST_ENVIRONMENT}" RESOURCE_LOCK xvfb TIMEOUT 300)
add_executable(xvfb_window_test XvfbWindowTest.cpp XvfbEvents.cpp)
target_link_libraries(xvfb_window_test PRIVATE tarnelix_options GTest::gtest_main
                      tarnelix_platform X11::X11)
target_include_directories(xvfb_window_test PRIVATE ${PROJECT_SOURCE_DIR})
add_test(NAME XvfbWindow.FullScreenEscapeAndClose
         COMMAND xvfb-run -a env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
                 $<TARGET_FILE:xvfb_window_test>)
# One Xvfb test at a time: xvfb-run -a may give two started at once the same display.
set_tests_properties(XvfbWindow.FullScreenEscapeAndClose PROPERTIES RESOURCE_LOCK xvfb)
tarnelix_test(win32_test SOURCES Win32Test.cpp LIBS tarnelix_win32)
tarnelix_test(win32_input_test SOURCES Win32InputTest.cpp LIBS tarnelix_win32)

# The pixel tests that define Direct3D 9's rules (rasterisation and its ties, clip-space depth,
# render-target orientation, texture addressing and filters, texture-stage arithmetic, the
# alpha test) once more on Mesa's softpipe, a rasteriser written apart from llvmpipe: a stand-in
# that only works because llvmpipe happens to forgive it fails here. The adapter test checks
# that softpipe really drew. Where a GPU's own EGL library is installed, Mesa's is named so that
# GALLIUM_DRIVER is not ignored.
set(softpipe_environment GALLIUM_DRIVER=softpipe LIBGL_ALWAYS_SOFTWARE=1
    TARNELIX_EXPECT_RENDERER=softpipe __GLX_VENDOR_LIBRARY_NAME=mesa)
if(EXISTS /usr/share/glvnd/egl_vendor.d/50_mesa.json)
    list(APPEND softpipe_environment
         __EGL_VENDOR_LIBRARY_FILENAMES=/usr/share/glvnd/egl_vendor.d/50_mesa.json)
endif()
set(softpipe_test_lists "")
function(tarnelix_softpipe_tests target filter)
    gtest_discover_tests(${target}
        TEST_PREFIX softpipe.
        TEST_FILTER "${filter}"
        TEST_LIST ${target}_softpipe
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS softpipe)
    set(softpipe_test_lists ${softpipe_test_lists} ${target}_softpipe PARENT_SCOPE)
endfunction()
tarnelix_softpipe_tests(d3d9_raster_test "D3d9Raster.*")
tarnelix_softpipe_tests(d3d9_fixed_function_test
    "FixedFunction*.*:-FixedFunction.GeneratedProgramsAreReusedForTheSameState")
tarnelix_softpipe_tests(d3d9_lighting_test "Lighting.*")
tarnelix_softpipe_tests(d3d9_fog_test "Fog.*")
# Softpipe draws wide points one pixel off from where GL's rules (and
# llvmpipe) put them, so the point tests run on llvmpipe alone.
tarnelix_softpipe_tests(d3d9_clip_plane_test "ClipPlanes.*")
tarnelix_softpipe_tests(d3d9_depth_bias_test "DepthBias.*")
# Softpipe offers anisotropic filtering but picks the mip level of the footprint's long side,
# as linear filtering does: the anisotropy test runs on llvmpipe alone.
tarnelix_softpipe_tests(d3d9_texture_test
    "Textures.*:-Textures.IndexedDrawsFromVertexAndIndexBuffers:Textures.AnisotropicFilteringUpToTheCapsLargest")
tarnelix_softpipe_tests(d3d9_cube_texture_test "CubeTextures.*")
tarnelix_softpipe_tests(d3d9_device_test
    "D3d9Device.TheAdapterIsNamed*:D3d9Device.ClearFillsTheViewportOnlyAndReadsBackTopRowFirst")
tarnelix_softpipe_tests(d3d9_shader_test
    "D3d9Shader.PretransformedVerticesBypass*:D3d9Shader.AlphaTestAppliesToPixelProgramOutput")
# gtest_discover_tests splits every property value at its semicolons, so the environment (a
# list) is set on the discovered entries by a ctest script read after theirs.
set(softpipe_script ${CMAKE_CURRENT_BINARY_DIR}/softpipe_environment.cmake)
file(WRITE ${softpipe_script} "foreach(test IN LISTS ${softpipe_test_lists})\n"
     "    set_tests_properties(\"\${test}\" PROPERTIES ENVIRONMENT \"${softpipe_environment}\")\n"
     "endforeach()\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${softpipe_script})

tarnelix_test(compat_headers_test SOURCES CompatHeadersTest.cpp LIBS tarnelix_d3d9)
add_library(tarnelix_d3d9_testing STATIC D3d9TestDevice.cpp)
target_link_libraries(tarnelix_d3d9_testing PUBLIC tarnelix_d3d9 PRIVATE tarnelix_options)
tarnelix_test(d3d9_device_test SOURCES D3d9DeviceTest.cpp
    LIBS tarnelix_d3d9_testing OpenGL::OpenGL)
tarnelix_test(d3d9_raster_test SOURCES D3d9RasterTest.cpp LIBS tarnelix_d3d9_testing)
tarnelix_test(d3d9_shader_test SOURCES D3d9ShaderTest.cpp LIBS tarnelix_d3d9_testing)
tarnelix_test(d3d9_fixed_function_test SOURCES D3d9FixedFunctionTest.cpp LIBS tarnelix_d3d9_testing)
tarnelix_test(d3d9_texture_test SOURCES D3d9TextureTest.cpp LIBS tarnelix_d3d9_testing)
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
# A real X11 window under a virtual X server; the test skips itself elsewhere.
find_package(X11 REQUIRED)
add_executable(xvfb_window_test XvfbWindowTest.cpp XvfbEvents.cpp)
target_link_libraries(xvfb_window_test PRIVATE tarnelix_options GTest::gtest_main
                      tarnelix_platform X11::X11)
target_include_directories(xvfb_window_test PRIVATE ${PROJECT_SOURCE_DIR})
add_test(NAME XvfbWindow.FullScreenEscapeAndClose
         COMMAND xvfb-run -a env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
                 $<TARGET_FILE:xvfb_window_test>)
tarnelix_test(win32_test SOURCES Win32Test.cpp LIBS tarnelix_win32)

# Tests of the program: dialogs, the settings dialog, the timeline, the programs themselves.
tarnelix_test(win32_dialog_test SOURCES Win32DialogTest.cpp LIBS tarnelix_win32_dialog)
tarnelix_test(startup_settings_test SOURCES StartupSettingsTest.cpp
    LIBS tarnelix_settings tarnelix_app_resources)
tarnelix_test(timeline_test SOURCES TimelineTest.cpp LIBS tarnelix_timeline)
tarnelix_test(capture_test SOURCES CaptureTest.cpp TempDir.cpp LIBS tarnelix_capture)

if(TARNELIX_HAVE_PROGRAM)
    # The program under a real X server: dialog, show, Escape.
    add_executable(program_test ProgramTest.cpp $<TARGET_OBJECTS:tarnelix_app_resources>)
    target_link_libraries(program_test PRIVATE tarnelix_program GTest::gtest_main tarnelix_options)
    add_test(NAME program_under_xvfb
        COMMAND xvfb-run -a -s "-screen 0 1024x768x24" $<TARGET_FILE:program_test>
        WORKING_DIRECTORY ${TARNELIX_SHOW_DIR})
    set_tests_properties(program_under_xvfb PROPERTIES
        ENVIRONMENT "SDL_VIDEODRIVER=x11;SDL_AUDIODRIVER=dummy" TIMEOUT 120)
    add_dependencies(program_test show)

    # Without any display the program says so in one line and ends.
    add_test(NAME program_without_display COMMAND $<TARGET_FILE:tarnelix>
        WORKING_DIRECTORY ${TARNELIX_SHOW_DIR})
    set_tests_properties(program_without_display PROPERTIES
        ENVIRONMENT "SDL_VIDEODRIVER=;DISPLAY=;WAYLAND_DISPLAY="
        PASS_REGULAR_EXPRESSION "no display can be opened.*tarnelix-capture")

endif()

# tarnelix-capture on the generated show.
tarnelix_test(capture_program_test SOURCES CaptureProgramTest.cpp TempDir.cpp
    LIBS tarnelix_capture_main)
target_compile_definitions(capture_program_test PRIVATE TARNELIX_SHOW_DIR="${TARNELIX_SHOW_DIR}"
    TARNELIX_CAPTURE_PROGRAM="$<TARGET_FILE:tarnelix-capture>")
add_dependencies(capture_program_test show tarnelix-capture)

# Tests of the program: dialogs, the settings dialog, the timeline, the programs themselves.
tarnelix_test(win32_dialog_test SOURCES Win32DialogTest.cpp LIBS tarnelix_win32_dialog)
tarnelix_test(startup_settings_test SOURCES StartupSettingsTest.cpp
    LIBS tarnelix_settings tarnelix_app_resources)
tarnelix_test(timeline_test SOURCES TimelineTest.cpp LIBS tarnelix_timeline)
tarnelix_test(capture_test SOURCES CaptureTest.cpp TempDir.cpp LIBS tarnelix_capture)

if(TARNELIX_HAVE_PROGRAM)
    # The program under a real X server: dialog, show, Escape; then the same without a sound
    # device and in a damaged copy of the show's folder. One process each: the program runs
    # once per process.
    add_executable(program_test ProgramTest.cpp ScratchShow.cpp TempDir.cpp
                   $<TARGET_OBJECTS:tarnelix_app_resources>)
    target_link_libraries(program_test PRIVATE tarnelix_program GTest::gtest_main tarnelix_options)
    target_include_directories(program_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    foreach(case ChoosesAModeRunsAndQuitsOnEscape PlaysSilentWithoutASoundDevice
                 SaysWhatIsWrongWithADamagedShowFolder)
        add_test(NAME program_under_xvfb.${case}
            COMMAND xvfb-run -a -s "-screen 0 1024x768x24" $<TARGET_FILE:program_test>
                    --gtest_filter=ProgramTest.${case}
            WORKING_DIRECTORY ${TARNELIX_SHOW_DIR})
        set_tests_properties(program_under_xvfb.${case} PROPERTIES
            ENVIRONMENT "SDL_VIDEODRIVER=x11;SDL_AUDIODRIVER=dummy" TIMEOUT 120
            RESOURCE_LOCK xvfb)
    endforeach()
    target_compile_definitions(program_test PRIVATE TARNELIX_SHOW_DIR="${TARNELIX_SHOW_DIR}")
    add_dependencies(program_test show)

    # Without any display the program says so in one line and ends.
    add_test(NAME program_without_display COMMAND $<TARGET_FILE:tarnelix>
        WORKING_DIRECTORY ${TARNELIX_SHOW_DIR})
    set_tests_properties(program_without_display PROPERTIES
        ENVIRONMENT "SDL_VIDEODRIVER=;DISPLAY=;WAYLAND_DISPLAY="
        PASS_REGULAR_EXPRESSION "no display can be opened.*tarnelix-capture")

endif()

# tarnelix-capture on the generated show, and on damaged copies of it.
tarnelix_test(capture_program_test SOURCES CaptureProgramTest.cpp TempDir.cpp
    LIBS tarnelix_capture_main)
tarnelix_test(show_script_test SOURCES ShowScriptTest.cpp LIBS tarnelix_show_file)
tarnelix_test(capture_fault_test SOURCES CaptureFaultTest.cpp ScratchShow.cpp TempDir.cpp)
foreach(test capture_program_test capture_fault_test)
    target_compile_definitions(${test} PRIVATE TARNELIX_SHOW_DIR="${TARNELIX_SHOW_DIR}"
        TARNELIX_CAPTURE_PROGRAM="$<TARGET_FILE:tarnelix-capture>")
    add_dependencies(${test} show tarnelix-capture)
endforeach()

if(TARNELIX_SANITIZE)
    # The show through the sanitizer build of tarnelix-capture, leak checking on: any report
    # fails the run. A stretch around each change of segment, where scene, textures and passes
    # are set up anew; the frames before a stretch are stepped through, not drawn, which keeps
    # it quick. The README gives the command line for the whole show.
    foreach(boundary 10 35 70 130)
        math(EXPR from "${boundary} - 1")
        math(EXPR to "${boundary} + 1")
        add_test(NAME capture_under_sanitizers_at_${boundary}s
            COMMAND tarnelix-capture --benchmark --fps 10 --width 320 --height 240
                    --from ${from} --to ${to}
            WORKING_DIRECTORY ${TARNELIX_SHOW_DIR})
        set_tests_properties(capture_under_sanitizers_at_${boundary}s PROPERTIES
            ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
            TIMEOUT 300)
    endforeach()
endif()

if(TARNELIX_SOFTPIPE_STILLS)
    # Stills of the show drawn by softpipe, compared with llvmpipe's (PSNR at least 38 dB): two
    # rasterisers written apart agree on a stand-in that keeps to GL's rules. One entry a still,
    # so that they run side by side.
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    foreach(at 22.5 52.5 100)
        add_test(NAME softpipe_still_at_${at}s
            COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/softpipe-stills
                    --capture $<TARGET_FILE:tarnelix-capture> --show ${TARNELIX_SHOW_DIR}
                    --at ${at})
        set_tests_properties(softpipe_still_at_${at}s PROPERTIES
            ENVIRONMENT PYTHONDONTWRITEBYTECODE=1 LABELS softpipe-stills TIMEOUT 900)
    endforeach()
endif()

if(TARNELIX_HAVE_PLAYER)
    # The player's parts that need no window, then the player itself under a real X server,
    # driven by xdotool.
    tarnelix_test(player_clock_test SOURCES PlayerClockTest.cpp LIBS tarnelix_player_parts)
    tarnelix_test(player_options_test SOURCES PlayerOptionsTest.cpp LIBS tarnelix_player_parts)
    tarnelix_test(player_controls_test SOURCES PlayerControlsTest.cpp
        LIBS tarnelix_player_parts)
    tarnelix_test(free_camera_test SOURCES FreeCameraTest.cpp LIBS tarnelix_player_parts)
    tarnelix_test(file_watch_test SOURCES FileWatchTest.cpp TempDir.cpp
        LIBS tarnelix_player_parts)

    add_executable(player_program_test PlayerProgramTest.cpp)
    target_link_libraries(player_program_test PRIVATE GTest::gtest_main tarnelix_options)
    target_compile_definitions(player_program_test PRIVATE
        TARNELIX_SHOW_DIR="${TARNELIX_SHOW_DIR}"
        TARNELIX_PLAYER_PROGRAM="$<TARGET_FILE:tarnelix-player>")
    add_dependencies(player_program_test show tarnelix-player)
    add_test(NAME player_without_display COMMAND $<TARGET_FILE:tarnelix-player>
        WORKING_DIRECTORY ${TARNELIX_SHOW_DIR})
    set_tests_properties(player_without_display PROPERTIES
        ENVIRONMENT "SDL_VIDEODRIVER=;DISPLAY=;WAYLAND_DISPLAY="
        PASS_REGULAR_EXPRESSION "^tarnelix-player: no display can be opened.*tarnelix-capture")
    add_test(NAME player_under_xvfb
        COMMAND xvfb-run -a -s "-screen 0 1024x768x24" $<TARGET_FILE:player_program_test>)
    # xvfb-run -a picks the first free display number, and two started at once may pick the
    # same one, leaving one program without an X server: the Xvfb tests take turns.
    set_tests_properties(player_under_xvfb PROPERTIES
        ENVIRONMENT "SDL_VIDEODRIVER=x11;SDL_AUDIODRIVER=dummy" TIMEOUT 300 RESOURCE_LOCK xvfb)

    # The README's "Making your own show", command by command, as a person runs it: import with
    # a starter show, edit, play, capture the video. Its video is 20 s at 60 frames per second,
    # which the sanitizer build would take many minutes over; that build leaves it out.
    if(NOT TARNELIX_SANITIZE)
        add_test(NAME readme_walkthrough
            COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/readme_walkthrough.py
                    ${PROJECT_SOURCE_DIR}/README.md ${CMAKE_BINARY_DIR})
        set_tests_properties(readme_walkthrough PROPERTIES TIMEOUT 600)
    endif()
endif()

# Stills of the show at a few moments, each segment's look among them, small: with the GL check
# on (as every test here), a GL error on the way fails them.
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/stills)
foreach(at 5 22.5 52.5 100 135)
    add_test(NAME capture_still_at_${at}s
        COMMAND tarnelix-capture --width 320 --height 240 --at ${at}
                --out ${CMAKE_CURRENT_BINARY_DIR}/stills/still-${at}.png
        WORKING_DIRECTORY ${TARNELIX_SHOW_DIR})
    set_tests_properties(capture_still_at_${at}s PROPERTIES
        ENVIRONMENT "${TARNELIX_TEST_ENVIRONMENT}" TIMEOUT 120)
endforeach()

# The sound library's stand-in and the sound wrappers; the short test tones are made with the
# content generator's MP3 encoder.
tarnelix_test(fsound_test SOURCES FsoundTest.cpp TempDir.cpp ToneFile.cpp
              LIBS tarnelix_fmod tarnelix_showgen)
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2_MIXER_FOR_TESTS REQUIRED IMPORTED_TARGET SDL2_mixer)
target_link_libraries(fsound_test PRIVATE PkgConfig::SDL2_MIXER_FOR_TESTS)
tarnelix_test(sound_system_test SOURCES SoundSystemTest.cpp TempDir.cpp ToneFile.cpp
              LIBS tarnelix_sound tarnelix_showgen)
# The MP3 frame reader of the Windows sound library, on made-up headers and on an encoded tone.
tarnelix_test(mp3_frame_test SOURCES Mp3FrameTest.cpp TempDir.cpp ToneFile.cpp
              LIBS tarnelix_mp3_frame tarnelix_showgen)

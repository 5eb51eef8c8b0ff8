# Tests of the program: dialogs, the settings dialog, the timeline, the programs themselves.
tarnelix_test(win32_dialog_test SOURCES Win32DialogTest.cpp LIBS tarnelix_win32_dialog)
tarnelix_test(startup_settings_test SOURCES StartupSettingsTest.cpp
    LIBS tarnelix_settings tarnelix_app_resources)
tarnelix_test(timeline_test SOURCES TimelineTest.cpp LIBS tarnelix_timeline)
tarnelix_test(capture_test SOURCES CaptureTest.cpp TempDir.cpp LIBS tarnelix_capture)

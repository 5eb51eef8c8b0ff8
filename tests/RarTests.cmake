# The archive reader's suites, run against the shared test archives in place.
set(TARNELIX_RAR_TESTDATA "${PROJECT_SOURCE_DIR}/../shared/testdata/rar")

tarnelix_test(rar_archive_test SOURCES RarArchiveTest.cpp RarTestSupport.cpp RarTestWriter.cpp
              TempDir.cpp LIBS tarnelix_rar)
tarnelix_test(rar_robustness_test SOURCES RarRobustnessTest.cpp RarTestSupport.cpp
              RarTestWriter.cpp TempDir.cpp LIBS tarnelix_rar)
foreach(target rar_archive_test rar_robustness_test resource_file_test)
    target_compile_definitions(${target} PRIVATE
        TARNELIX_RAR_TESTDATA="${TARNELIX_RAR_TESTDATA}")
endforeach()

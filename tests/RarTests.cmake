# The archive reader's suites, run against the shared test archives in place.
set(TARNELIX_RAR_TESTDATA "${PROJECT_SOURCE_DIR}/../shared/testdata/rar")

tarnelix_test(rar_archive_test SOURCES RarArchiveTest.cpp RarTestSupport.cpp RarTestWriter.cpp
              Rar20TestEncoder.cpp
              TempDir.cpp LIBS tarnelix_rar)
tarnelix_test(rar_robustness_test SOURCES RarRobustnessTest.cpp RarTestSupport.cpp
              RarTestWriter.cpp Rar20TestEncoder.cpp TempDir.cpp LIBS tarnelix_rar)
tarnelix_test(rar_cipher_test SOURCES RarCipherTest.cpp LIBS tarnelix_rar)
foreach(target rar_archive_test rar_robustness_test resource_file_test)
    target_compile_definitions(${target} PRIVATE
        TARNELIX_RAR_TESTDATA="${TARNELIX_RAR_TESTDATA}")
endforeach()

# The command-line tool, end to end.
set(rar_extract $<TARGET_FILE:rar-extract>)
add_test(NAME rar_extract_lists COMMAND ${rar_extract} --list ${TARNELIX_RAR_TESTDATA}/v20/test_v2.rar)
set_tests_properties(rar_extract_lists PROPERTIES
    PASS_REGULAR_EXPRESSION "13321 +20 +0x33 10751aba 0x8040 pMM.bin")
add_test(NAME rar_extract_writes_entry
    COMMAND ${rar_extract} ${TARNELIX_RAR_TESTDATA}/v20/Rar2.rar EXE/test.exe -o rar-extract.out)
add_test(NAME rar_extract_refuses_v29
    COMMAND ${rar_extract} ${TARNELIX_RAR_TESTDATA}/v29/testfile.rar3.rar testfile.txt)
set_tests_properties(rar_extract_refuses_v29 PROPERTIES
    PASS_REGULAR_EXPRESSION "unknown compression method")
add_test(NAME rar_extract_fails_on_missing_entry
    COMMAND ${rar_extract} ${TARNELIX_RAR_TESTDATA}/v20/Rar2.rar nothing.txt)
set_tests_properties(rar_extract_fails_on_missing_entry PROPERTIES WILL_FAIL TRUE)
set_tests_properties(rar_extract_lists rar_extract_writes_entry rar_extract_refuses_v29
    rar_extract_fails_on_missing_entry PROPERTIES
    ENVIRONMENT "${TARNELIX_TEST_ENVIRONMENT};TMPDIR=${CMAKE_CURRENT_BINARY_DIR}")

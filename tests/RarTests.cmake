# The archive reader's suites, run against the real archives kept in tests/data/rar and the
# ones the tests build themselves.
set(TARNELIX_RAR_TESTDATA "${PROJECT_SOURCE_DIR}/tests/data/rar")

tarnelix_test(rar_archive_test SOURCES RarArchiveTest.cpp RarBlockWalkTest.cpp RarFailureTest.cpp
              RarVolumeTest.cpp RarBuiltArchivesTest.cpp RarTestSupport.cpp RarTestWriter.cpp Rar20TestEncoder.cpp
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
# Encrypted entries: the right password writes them, a wrong one or none says why it failed.
set(rar_encrypted ${TARNELIX_RAR_TESTDATA}/v20/rar202-comment-psw.rar)
add_test(NAME rar_extract_decrypts_entry
    COMMAND ${rar_extract} ${rar_encrypted} FILE2.TXT -p password -o rar-extract-psw.out)
add_test(NAME rar_extract_names_wrong_password
    COMMAND ${rar_extract} ${rar_encrypted} FILE2.TXT -p secret)
set_tests_properties(rar_extract_names_wrong_password PROPERTIES
    PASS_REGULAR_EXPRESSION "password is wrong")
add_test(NAME rar_extract_asks_for_password COMMAND ${rar_extract} ${rar_encrypted} FILE2.TXT)
set_tests_properties(rar_extract_asks_for_password PROPERTIES
    PASS_REGULAR_EXPRESSION "give its password with -p")
# Volume sets and sub-blocks (the archives of tests/data/rar/sets, built by the test writer),
# and a reason for every failure that does not involve a password.
set(rar_sets ${TARNELIX_RAR_TESTDATA}/sets)
add_test(NAME rar_extract_lists_volume_set COMMAND ${rar_extract} --list ${rar_sets}/split.rar)
set_tests_properties(rar_extract_lists_volume_set PROPERTIES
    PASS_REGULAR_EXPRESSION "2864 +2864 +20 +0x30 b96405c3 0x8000 split.txt\n[^\n]*packed.txt"
    FAIL_REGULAR_EXPRESSION "split-after|split-before")
add_test(NAME rar_extract_joins_volumes
    COMMAND ${rar_extract} ${rar_sets}/split.rar packed.txt -o rar-extract-volumes.out)
add_test(NAME rar_extract_names_missing_volume COMMAND ${rar_extract} ${rar_sets}/cut.rar split.txt)
set_tests_properties(rar_extract_names_missing_volume PROPERTIES
    PASS_REGULAR_EXPRESSION "next volume missing: [^\n]*/cut\.r00")
add_test(NAME rar_extract_names_data_crc COMMAND ${rar_extract} ${rar_sets}/damaged.rar data.txt)
set_tests_properties(rar_extract_names_data_crc PROPERTIES
    PASS_REGULAR_EXPRESSION "data CRC mismatch" FAIL_REGULAR_EXPRESSION "password")
add_test(NAME rar_extract_names_header_crc
    COMMAND ${rar_extract} ${rar_sets}/badheader.rar data.txt -p unneeded)
set_tests_properties(rar_extract_names_header_crc PROPERTIES
    PASS_REGULAR_EXPRESSION "header CRC mismatch" FAIL_REGULAR_EXPRESSION "password")
set_tests_properties(rar_extract_lists rar_extract_writes_entry rar_extract_refuses_v29
    rar_extract_fails_on_missing_entry rar_extract_decrypts_entry
    rar_extract_names_wrong_password rar_extract_asks_for_password rar_extract_lists_volume_set
    rar_extract_joins_volumes rar_extract_names_missing_volume
    rar_extract_names_data_crc rar_extract_names_header_crc PROPERTIES
    ENVIRONMENT "${TARNELIX_TEST_ENVIRONMENT};TMPDIR=${CMAKE_CURRENT_BINARY_DIR}")

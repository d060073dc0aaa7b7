# kindrel_add_test(NAME <name> SOURCES <files...> [LIBS <libs...>] [LABELS <label>])
# Builds one GoogleTest executable and registers its cases with CTest under the given labels.
include(GoogleTest)
function(kindrel_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  target_compile_definitions(${T_NAME} PRIVATE
    KINDREL_SAMPLES_DIR="${KINDREL_SAMPLES_DIR}"
    KINDREL_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    KINDREL_BIN_DIR="${CMAKE_BINARY_DIR}")
  if(NOT T_LABELS)
    set(T_LABELS core)
  endif()
  # Discovered tests take one label (a list would be split by the discovery script):
  # core, gui, slow or fuzz (install: the desktop install check). `ctest -LE slow` skips the
  # long ones.
  list(LENGTH T_LABELS n)
  if(n GREATER 1)
    message(FATAL_ERROR "kindrel_add_test(${T_NAME}): give one label, not ${T_LABELS}")
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${T_LABELS}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# kindrel_add_fuzzer(NAME <name> SOURCES <files...> [LIBS <libs...>])
# A fuzz target defines LLVMFuzzerTestOneInput. It is always built as a replay runner
# (fuzz_replay_<name>) that feeds every file of tests/fuzz/corpus/<name>/ to the target,
# registered with CTest under the label "fuzz"; with -DKINDREL_FUZZ=ON (clang) it is also
# built as a libFuzzer binary (fuzz_<name>) under AddressSanitizer and UBSan.
function(kindrel_add_fuzzer)
  cmake_parse_arguments(F "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(fuzz_replay_${F_NAME} ${F_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
  target_link_libraries(fuzz_replay_${F_NAME} PRIVATE ${F_LIBS})
  set(corpus ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${F_NAME})
  if(KINDREL_BUILD_TESTS)
    add_test(NAME fuzz_replay_${F_NAME} COMMAND fuzz_replay_${F_NAME} ${corpus})
    set_tests_properties(fuzz_replay_${F_NAME} PROPERTIES LABELS "fuzz")
  endif()
  if(KINDREL_FUZZ)
    add_executable(fuzz_${F_NAME} ${F_SOURCES})
    target_link_libraries(fuzz_${F_NAME} PRIVATE ${F_LIBS})
    target_compile_options(fuzz_${F_NAME} PRIVATE -fsanitize=fuzzer)
    target_link_options(fuzz_${F_NAME} PRIVATE -fsanitize=fuzzer)
  endif()
endfunction()

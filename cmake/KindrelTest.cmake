# kindrel_add_test(NAME <name> SOURCES <files...> [LIBS <libs...>] [LABELS <labels...>])
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
  gtest_discover_tests(${T_NAME}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${T_LABELS}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

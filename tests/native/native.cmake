# Native unit tests of the platform-free rules (GoogleTest from the machine's sources).
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(native_tests ${NATIVE_TEST_SOURCES})
target_link_libraries(native_tests PRIVATE rules GTest::gtest_main)
# The standard library checks every index, so that a rule reading past its
# table fails its test instead of reading whatever lies there.
target_compile_definitions(rules PUBLIC _GLIBCXX_ASSERTIONS)
add_test(NAME native_tests COMMAND native_tests)

if(NOT DEFINED FUZZ_SECONDS)
  set(FUZZ_SECONDS 20)
endif()
# Fuzz targets (libFuzzer, clang only): each fuzz/*.cpp defines LLVMFuzzerTestOneInput.
file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*.cpp)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND FUZZ_SOURCES)
  foreach(src ${FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(fuzz_${name} ${src} ${RULES_SOURCES})
    target_include_directories(fuzz_${name} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined -g -O1)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    add_test(NAME fuzz_${name} COMMAND fuzz_${name} -max_total_time=${FUZZ_SECONDS} -rss_limit_mb=2048)
  endforeach()
endif()

# The release, built from two copies of this tree in different folders and compared byte for
# byte, then signed with a throwaway certificate and verified. It builds the products twice
# for both processors: minutes, not seconds.
add_test(NAME release COMMAND ${CMAKE_SOURCE_DIR}/tests/release/release_test.sh)
set_tests_properties(release PROPERTIES TIMEOUT 3600 LABELS release)

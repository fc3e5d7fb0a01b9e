# Windows tests: GoogleTest built with MinGW, each run as one CTest test under
# Wine (cmake/wine-run.sh gives it a private prefix and its own X display).
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/windows/support/*.cpp)
if(NOT SUPPORT_SOURCES)
  set(SUPPORT_SOURCES ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
endif()
add_library(wtsupport STATIC ${SUPPORT_SOURCES})
target_link_libraries(wtsupport PUBLIC common GTest::gtest)

function(to_windows_path out path)
  string(REPLACE "/" "\\" p "${path}")
  set(${out} "Z:${p}" PARENT_SCOPE)
endfunction()
to_windows_path(WIN_BIN ${CMAKE_BINARY_DIR}/bin)
to_windows_path(WIN_FIXTURES ${CMAKE_BINARY_DIR}/fixtures)
to_windows_path(WIN_SOURCE ${CMAKE_SOURCE_DIR})

# A test build of Ternavo that believes it lacks administrator rights: the
# product's own code with another rights probe linked in (never a switch of the
# shipped program). Under Wine, which grants every program all rights and lets
# "runas" simply start the program, the whole road of the worker runs in it.
add_executable(Ternavo_standard_user WIN32 ${CMAKE_SOURCE_DIR}/ternavo/main.cpp
  ${CMAKE_SOURCE_DIR}/ternavo/res/ternavo.rc ${CMAKE_SOURCE_DIR}/common/exe/runtime.cpp
  ${CMAKE_SOURCE_DIR}/tests/windows/ternavo_apply/standard_user/rights.cpp)
target_link_libraries(Ternavo_standard_user PRIVATE ternavo_core)
target_link_options(Ternavo_standard_user PRIVATE -static -municode -mwindows -s)
# The programs' runtime file expects the stack protector they are built with.
target_compile_options(Ternavo_standard_user PRIVATE -fstack-protector-strong)
target_include_directories(Ternavo_standard_user PRIVATE ${CMAKE_BINARY_DIR}/packed)
# It carries the Kestrun of this build, packed as Ternavo carries it: a new
# Kestrun.exe rebuilds its resource.
set_source_files_properties(${CMAKE_SOURCE_DIR}/ternavo/res/ternavo.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/packed/Kestrun.lznt1)
add_dependencies(Ternavo_standard_user Ternavo)
set_target_properties(Ternavo_standard_user PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# A test build of Kestrun whose timers the system never makes: Kestrun's own
# code with another timer file linked in.
add_executable(Kestrun_no_timer WIN32 ${CMAKE_SOURCE_DIR}/kestrun/main.cpp ${CMAKE_SOURCE_DIR}/kestrun/res/kestrun.rc
  ${CMAKE_SOURCE_DIR}/common/exe/runtime.cpp ${CMAKE_SOURCE_DIR}/tests/windows/kestrun_launch/no_timer/timers.cpp)
target_link_libraries(Kestrun_no_timer PRIVATE kestrun_core)
target_link_options(Kestrun_no_timer PRIVATE -static -municode -mwindows -s)
target_compile_options(Kestrun_no_timer PRIVATE -fstack-protector-strong)
add_dependencies(Kestrun_no_timer Kestrun)
set_target_properties(Kestrun_no_timer PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Every folder below tests/windows (but support) is one test program; a folder
# named kestrun* links Kestrun's library, ternavo* Ternavo's; a folder
# whose name ends in "_de" runs in a prefix with a German system locale.
file(GLOB TEST_DIRS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tests/windows/*)
foreach(dir ${TEST_DIRS})
  get_filename_component(name ${dir} NAME)
  if(NOT IS_DIRECTORY ${dir} OR name STREQUAL "support")
    continue()
  endif()
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT srcs)
    continue()
  endif()
  add_executable(wt_${name} ${srcs})
  # Each program links the one program library it tests: both define the same
  # run-wide names (ProgramDir, UseEnglish, MainWindow, ...).
  set(core "")
  if(name MATCHES "^kestrun")
    set(core kestrun_core)
  elseif(name MATCHES "^ternavo")
    set(core ternavo_core)
  endif()
  target_link_libraries(wt_${name} PRIVATE ${core} wtsupport GTest::gtest_main)
  target_link_options(wt_${name} PRIVATE -static)
  add_dependencies(wt_${name} Kestrun Kestrun_no_timer Ternavo Ternavo_standard_user fixtures)
  # A folder with a run.sh runs its program through that script (which sets up
  # its own prefix and users) instead of directly under the emulator.
  if(EXISTS ${dir}/run.sh)
    add_test(NAME wt_${name}${TEST_SUFFIX} COMMAND ${dir}/run.sh $<TARGET_FILE:wt_${name}>)
  else()
    add_test(NAME wt_${name}${TEST_SUFFIX} COMMAND wt_${name})
  endif()
  set(envs "TEST_BIN_DIR=${WIN_BIN};TEST_FIXTURE_DIR=${WIN_FIXTURES};TEST_SOURCE_DIR=${WIN_SOURCE}")
  if(name MATCHES "_de$")
    list(APPEND envs "TEST_LOCALE=de")
  endif()
  # A folder with a before.sh gets its prefix prepared by it before Wine starts.
  if(EXISTS ${dir}/before.sh)
    list(APPEND envs "TEST_BEFORE_WINE=${dir}/before.sh")
  endif()
  if(name STREQUAL "library_loads")
    # Wine's relay trace of the programs it starts, read back by the test.
    set(trace ${CMAKE_CURRENT_BINARY_DIR}/wt_${name}.trace)
    to_windows_path(win_trace ${trace})
    list(APPEND envs "TEST_STDERR_FILE=${trace}" "TEST_TRACE_FILE=${win_trace}")
  endif()
  set_tests_properties(wt_${name}${TEST_SUFFIX} PROPERTIES ENVIRONMENT "${envs}" TIMEOUT 900 SKIP_RETURN_CODE 77)
endforeach()

# The held folder's two link looks, each left alone: the same test built twice,
# each time with the other look replaced at link time by one that sees nothing.
set(HELD_ALONE ${CMAKE_SOURCE_DIR}/tests/windows/ternavo_apply/held_alone)
foreach(kept walk final_path)
  if(kept STREQUAL "walk")
    set(replaced no_final_path)
  else()
    set(replaced no_walk)
  endif()
  add_executable(wt_ternavo_held_${kept}_alone ${HELD_ALONE}/held_alone_test.cpp ${HELD_ALONE}/${replaced}.cpp)
  target_link_libraries(wt_ternavo_held_${kept}_alone PRIVATE ternavo_core wtsupport GTest::gtest_main)
  target_link_options(wt_ternavo_held_${kept}_alone PRIVATE -static)
  add_test(NAME wt_ternavo_held_${kept}_alone${TEST_SUFFIX} COMMAND wt_ternavo_held_${kept}_alone)
  set_tests_properties(wt_ternavo_held_${kept}_alone${TEST_SUFFIX} PROPERTIES
    ENVIRONMENT "TEST_BIN_DIR=${WIN_BIN};TEST_FIXTURE_DIR=${WIN_FIXTURES};TEST_SOURCE_DIR=${WIN_SOURCE}"
    TIMEOUT 300 SKIP_RETURN_CODE 77)
endforeach()

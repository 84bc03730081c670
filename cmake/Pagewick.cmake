# Build helpers shared by every area.

add_library(pw_warnings INTERFACE)
target_compile_options(pw_warnings INTERFACE -Wall -Wextra -Wpedantic $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>
  $<$<BOOL:${PAGEWICK_WERROR}>:-Werror>)

add_library(pw_sanitize INTERFACE)
if(PAGEWICK_SANITIZE)
  target_compile_options(pw_sanitize INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(pw_sanitize INTERFACE -fsanitize=address,undefined)
elseif(PAGEWICK_TSAN)
  target_compile_options(pw_sanitize INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(pw_sanitize INTERFACE -fsanitize=thread)
endif()

# pw_library(NAME [SHARED] SOURCES ... LIBS ...): a library of one area; its
# headers are included as "area/file.h" from the source root.
function(pw_library name)
  cmake_parse_arguments(ARG "SHARED" "" "SOURCES;LIBS" ${ARGN})
  if(ARG_SHARED)
    add_library(${name} SHARED ${ARG_SOURCES})
  else()
    add_library(${name} STATIC ${ARG_SOURCES})
  endif()
  target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}")
  target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE pw_warnings pw_sanitize)
  target_link_libraries(${name} INTERFACE pw_sanitize)
endfunction()

# pw_executable(NAME SOURCES ... LIBS ...): a program in bin/.
function(pw_executable name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}")
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} pw_warnings pw_sanitize)
endfunction()

# pw_test(NAME SOURCES ... LIBS ... [LABELS ...]): a GoogleTest program whose
# tests are listed to CTest one by one. Tests run headless (Qt offscreen),
# each in a fresh PAGEWICK_HOME made by the test support library, which also
# knows the source and build folders. (CTest 3.25 splits a list-valued
# ENVIRONMENT of discovered tests, so only one variable is set here.)
include(GoogleTest)
function(pw_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE "${CMAKE_SOURCE_DIR}")
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} pw_test_support GTest::gtest GTest::gmock pw_warnings pw_sanitize)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  # An empty LABELS value would shift the property pairs, so it is only
  # passed when there are labels.
  set(label_property)
  if(ARG_LABELS)
    set(label_property LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES
      TIMEOUT ${ARG_TIMEOUT}
      ${label_property}
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# A test that runs the real programs in a private X session: labelled e2e,
# 900 s to allow for a busy machine, and built after the programs it starts.
function(pw_e2e_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  pw_test(${name} SOURCES ${ARG_SOURCES} LIBS ${ARG_LIBS} Qt6::Gui LABELS e2e TIMEOUT 900)
  foreach(program IN ITEMS pagewick pagewick-capture)
    if(TARGET ${program})
      add_dependencies(${name} ${program})
    endif()
  endforeach()
endfunction()

# orvis_add_gtest(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# One test executable, run by ctest as one test. Every test ends by itself
# within its own bound; the TIMEOUT here only catches a fault.
function(orvis_add_gtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()

# orvis_add_qtest(<name> SOURCES <files...> LIBS <targets...>)
# A Qt Test executable for windows, run offscreen.
function(orvis_add_qtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test Qt6::Widgets)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()

# The installed system, written by `cmake --install` into a stage folder once
# per test run; end-to-end tests copy the programs from there into folders of
# their own, as an operator would install them.
set(ORVIS_STAGE_DIR ${PROJECT_BINARY_DIR}/stage)
if(NOT TEST orvis_stage_install)
  add_test(NAME orvis_stage_install
    COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --prefix ${ORVIS_STAGE_DIR})
  set_tests_properties(orvis_stage_install PROPERTIES FIXTURES_SETUP orvis_stage)
endif()

# Registers a test executable with ctest: one test per executable. Every
# test ends by itself within its own bound; the TIMEOUT only catches a fault.
function(orvis_register_test name timeout labels)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT timeout)
    set(timeout 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${timeout}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
  if(labels)
    set_tests_properties(${name} PROPERTIES LABELS "${labels}")
  endif()
endfunction()

# orvis_add_gtest(<name> SOURCES <files...> LIBS <targets...> [TIMEOUT s] [LABELS <labels...>])
function(orvis_add_gtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  orvis_register_test(${name} "${ARG_TIMEOUT}" "${ARG_LABELS}")
endfunction()

# orvis_add_qtest(<name> SOURCES <files...> LIBS <targets...> [TIMEOUT s] [LABELS <labels...>])
# A Qt Test executable for windows, run offscreen.
function(orvis_add_qtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test Qt6::Widgets)
  orvis_register_test(${name} "${ARG_TIMEOUT}" "${ARG_LABELS}")
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

include(GoogleTest)

# All unit-test and gui-test executables hang off these targets, so the
# sanitizer run can build just them.
add_custom_target(unit_tests)
add_custom_target(gui_tests)

# orvanta_add_test(<name> LABEL unit|gui|integration SOURCES ... [LIBS ...]
#                  [WHOLE] [WIDGETS] [TIMEOUT seconds])
# WHOLE registers the executable as one ctest test (for suites whose cases
# share expensive servers); otherwise each case is its own ctest test.
# gui tests (and integration tests marked WIDGETS) get a QApplication on the
# offscreen platform; the others a QCoreApplication. Both mains clear proxy variables so loopback stays direct.
function(orvanta_add_test name)
  cmake_parse_arguments(T "WHOLE;WIDGETS" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_LABEL MATCHES "^(unit|gui|integration)$")
    message(FATAL_ERROR "orvanta_add_test(${name}): LABEL must be unit, gui or integration")
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 60)
  endif()
  add_executable(${name} ${T_SOURCES})
  if(T_LABEL STREQUAL "gui" OR T_WIDGETS)
    set(main orvanta_gui_test_main)
  else()
    set(main orvanta_test_main)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${main} orvanta_test_support
                        GTest::gtest GTest::gmock)
  if(TARGET orvanta_sanitizer_defaults)
    target_link_libraries(${name} PRIVATE orvanta_sanitizer_defaults)
  endif()
  if(T_WHOLE)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT})
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 30
      PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT})
  endif()
  if(T_LABEL STREQUAL "unit")
    add_dependencies(unit_tests ${name})
  elseif(T_LABEL STREQUAL "gui")
    add_dependencies(gui_tests ${name})
  endif()
endfunction()

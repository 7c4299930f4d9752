# End-to-end tests: the demo host vxhost drives the built deliverables through the stand-in host kernel
# and the stand-in job server, and checks in tests/e2e/ read its transcript. Every test here runs vxhost
# as a person would, in its own process, so each deliverable binds to its own client library.
if(NOT TARGET vxhost)
  return()
endif()

set(VX_E2E ${CMAKE_CURRENT_SOURCE_DIR}/e2e)

# The demo on each build, in session encodings that need different texts: the demo picks, per encoding,
# the first text set it can hold (Latin texts fit ISO-8859-1 and the EBCDIC code page, Japanese texts
# Shift_JIS, both UTF-8). `default` lets vxhost find vxjobc.so by itself.
foreach(run
    "vxjobc|default|ISO-8859-1|latin"
    "vxjobc|vxjobc|Shift_JIS|japanese"
    "vxjobc|vxjobc|IBM037|latin"
    "vxjobc|vxjobc|UTF-8|mixed"
    "vxjobcssl|vxjobcssl|ISO-8859-1|latin"
    "vxjobcssl|vxjobcssl|Shift_JIS|japanese"
    "vxjobcssl|vxjobcssl|IBM037|latin"
    "vxjobcssl|vxjobcssl|windows-1252|latin")
  string(REPLACE "|" ";" fields "${run}")
  list(GET fields 0 deliverable)
  list(GET fields 1 library)
  list(GET fields 2 encoding)
  list(GET fields 3 texts)
  if(NOT library STREQUAL "default")
    set(library $<TARGET_FILE:${deliverable}>)
  endif()
  add_test(NAME e2e_demo_${deliverable}_${encoding}
           COMMAND bash ${VX_E2E}/check_demo.sh $<TARGET_FILE:vxhost> ${library} ${encoding} ${texts})
endforeach()

# https:// needs the SSL build: the plain build is refused at entry 22, the SSL build connects.
add_test(NAME e2e_https_vxjobc_refused
         COMMAND bash ${VX_E2E}/check_https.sh $<TARGET_FILE:vxhost> $<TARGET_FILE:vxjobc> refused)
add_test(NAME e2e_https_vxjobcssl_connects
         COMMAND bash ${VX_E2E}/check_https.sh $<TARGET_FILE:vxhost> $<TARGET_FILE:vxjobcssl> connects)

# Scripts: one that runs, on both builds and in an encoding that converts and one that does not; bad
# lines and failed calls.
foreach(run "vxjobc|ISO-8859-1" "vxjobcssl|IBM037" "vxjobc|UTF-8")
  string(REPLACE "|" ";" fields "${run}")
  list(GET fields 0 deliverable)
  list(GET fields 1 encoding)
  add_test(NAME e2e_script_${deliverable}_${encoding}
           COMMAND bash ${VX_E2E}/check_script.sh $<TARGET_FILE:vxhost> $<TARGET_FILE:${deliverable}> ${encoding}
                   ${VX_E2E}/session.vxs)
endforeach()
add_test(NAME e2e_script_errors
         COMMAND bash ${VX_E2E}/check_script_errors.sh $<TARGET_FILE:vxhost> $<TARGET_FILE:vxjobc>
                 ${VX_E2E}/bad_line.vxs)

# The install rules, run into a private prefix.
add_test(NAME e2e_install
         COMMAND bash ${VX_E2E}/check_install.sh ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR} ${VXJOBS_INSTALL_STANDIN_CLIENT})

# vxhost's column formatting on its own.
add_executable(vxhost_table_test ${VX_E2E}/text_table_test.cpp ${PROJECT_SOURCE_DIR}/tools/vxhost/text_table.cpp)
target_include_directories(vxhost_table_test PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(vxhost_table_test PRIVATE simhost GTest::gtest_main)
gtest_discover_tests(vxhost_table_test DISCOVERY_TIMEOUT 30 PROPERTIES LABELS e2e)

get_property(vx_e2e_tests DIRECTORY PROPERTY TESTS)
list(FILTER vx_e2e_tests INCLUDE REGEX "^e2e_")
set_tests_properties(${vx_e2e_tests} PROPERTIES LABELS e2e)

# Reliability: every allocation and transcode failed in turn, hostile host and client answers, and the
# fuzz targets' inputs replayed without libFuzzer (seed corpus and every input that ever failed).

add_library(vxrel_support STATIC
  reliability/instance_audit.cpp
  reliability/sweep_model.cpp
  reliability/sweep_steps.cpp
  reliability/sweep_expectations.cpp
  reliability/sweep_fixture.cpp)
target_include_directories(vxrel_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(vxrel_support PUBLIC vxtest_support)

add_executable(reliability_test reliability/alloc_sweep_test.cpp)
target_link_libraries(reliability_test PRIVATE vxrel_support GTest::gtest_main)
gtest_discover_tests(reliability_test DISCOVERY_TIMEOUT 60)
target_sources(reliability_test PRIVATE reliability/hostile_answers_test.cpp)

# A sanitized build's deliverables need the sanitizer runtimes beside libc, so the loader's view
# that the ELF check holds them to does not apply there.
if(VXJOBS_SANITIZE)
  set_tests_properties(elf_vxjobc elf_vxjobcssl PROPERTIES DISABLED TRUE)
endif()

# The fuzz targets as plain programs: each replays its seed corpus and every input that once broke an
# invariant, so the normal test run keeps them fixed.
function(vx_add_fuzz_replay name)
  add_executable(${name}_replay ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp ${ARGN})
  target_include_directories(${name}_replay PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/src
                                                    ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name}_replay PRIVATE simhost ${CMAKE_DL_LIBS})
  add_test(NAME ${name}_replay
           COMMAND ${name}_replay ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name} ${PROJECT_SOURCE_DIR}/fuzz/regressions/${name})
endfunction()

vx_add_fuzz_replay(fuzz_entries ${PROJECT_SOURCE_DIR}/fuzz/fuzz_entries.cpp reliability/instance_audit.cpp
                   support/deliverable.cpp)
target_compile_definitions(fuzz_entries_replay PRIVATE VXTEST_LIB_DIR="${CMAKE_LIBRARY_OUTPUT_DIRECTORY}")
add_dependencies(fuzz_entries_replay vxjobc vxjobcssl JOBWIRE JOBWIRESSL)
vx_add_fuzz_replay(fuzz_conversion ${PROJECT_SOURCE_DIR}/fuzz/fuzz_conversion.cpp reliability/instance_audit.cpp
                   ${PROJECT_SOURCE_DIR}/src/frame/convert.cpp)

# The build stamp: what vxbldmk1 reports, what vxstamp does to a built file, the values the build decides,
# and that a build can be repeated byte for byte.
vx_add_suite(stamp_test stamp_test.cpp)
vx_add_suite(vxstamp_test vxstamp_test.cpp)
target_compile_definitions(vxstamp_test PRIVATE VXSTAMP_PATH="$<TARGET_FILE:vxstamp>")
add_dependencies(vxstamp_test vxstamp)

add_test(NAME stamp_values COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/stamp_values_test.sh ${PROJECT_SOURCE_DIR})
# Configures and builds the deliverables twice: about a minute of CPU, nearly all of it the stand-in
# client library that the deliverables link.
add_test(NAME reproducible_build
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/reproducible_build_test.sh ${PROJECT_SOURCE_DIR}
                 $<TARGET_FILE:vxstamp>)
set_tests_properties(reproducible_build PROPERTIES LABELS slow TIMEOUT 600)

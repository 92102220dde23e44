# A small test-only program of the system, driven through the headless mode from outside.
add_executable(headless_probe ${CMAKE_CURRENT_SOURCE_DIR}/probes/headless_probe.cpp)
target_link_libraries(headless_probe PRIVATE platform)
set_target_properties(headless_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
if(TARGET platform_tests)
  add_dependencies(platform_tests headless_probe)
endif()

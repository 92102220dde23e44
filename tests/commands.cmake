# Helper programs the command-runner tests start; they land in bin/ beside the test binary.
add_executable(cmdprobe ${CMAKE_CURRENT_SOURCE_DIR}/probes/cmdprobe.cpp)
if(TARGET platform_tests)
  add_dependencies(platform_tests cmdprobe)
endif()

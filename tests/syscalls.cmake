# System calls of one registration list over a full register, counted with strace.
add_executable(f9_probe ${CMAKE_CURRENT_SOURCE_DIR}/probes/f9_probe.cpp)
target_link_libraries(f9_probe PRIVATE entry screen records platform)

add_test(NAME f9_syscalls
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/syscalls/f9_syscalls.sh $<TARGET_FILE:f9_probe>)
set_tests_properties(f9_syscalls PROPERTIES TIMEOUT 300)

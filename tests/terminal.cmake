# The terminal backend in a real terminal: a probe program driven through tmux.
add_executable(term_probe ${CMAKE_CURRENT_SOURCE_DIR}/probes/term_probe.cpp)
target_link_libraries(term_probe PRIVATE platform)

add_test(NAME terminal_tmux
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/terminal/tmux_test.sh keys $<TARGET_FILE:term_probe>)
add_test(NAME terminal_tmux_small
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/terminal/tmux_test.sh small $<TARGET_FILE:term_probe>)
add_test(NAME terminal_tmux_exits
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/terminal/tmux_test.sh exits $<TARGET_FILE:term_probe>)
set_tests_properties(terminal_tmux terminal_tmux_small terminal_tmux_exits PROPERTIES TIMEOUT 120)

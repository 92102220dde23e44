# A new user's first run: the demo company generated into a fresh folder and the entry program
# worked in a real terminal through tmux.
add_test(NAME e2e_first_run
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/first_run.sh $<TARGET_FILE:make_demo> $<TARGET_FILE:VELLA10W>)
set_tests_properties(e2e_first_run PROPERTIES TIMEOUT 180)

# The demo-consistency tests run make_demo from the bin folder.
if(TARGET entry_tests)
  add_dependencies(entry_tests make_demo)
endif()

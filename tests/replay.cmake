# The replay harness (scripts/replay-compare.sh with tests/replay/demo.keys) run twice on this
# build: it must be deterministic and still save through every screen it walks.
add_test(NAME replay_deterministic
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/replay/replay_test.sh $<TARGET_FILE_DIR:VELLA10W>)
set_tests_properties(replay_deterministic PROPERTIES TIMEOUT 300)

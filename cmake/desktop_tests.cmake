# The Windows tests that need a desktop (an X display and a Wine session with
# its prefix). The windows test preset offers CTest two desktops as a resource
# (tests/desktops.json), and scripts/test makes them and runs two such tests
# at once, each on its own: tests/on_desktop.sh puts a test on the one that
# CTest gave it. Run by hand, one at a time, they run on the environment's
# display and prefix.

set(WINSCOUT_ON_DESKTOP ${CMAKE_CURRENT_LIST_DIR}/../tests/on_desktop.sh)

# winscout_desktop_test(NAME [ALONE])
#   ALONE  the test measures (start-up, rates, big desktops): nothing else runs
#          meanwhile
function(winscout_desktop_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "ALONE" "" "")
  set_tests_properties(${name} PROPERTIES RESOURCE_GROUPS desktops:1)
  if(arg_ALONE)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

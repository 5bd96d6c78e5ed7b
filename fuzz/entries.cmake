# The fuzz entry functions, shared by the libFuzzer programs and the replay.
# TARNVALE_FUZZ_TARGETS lists the targets of fuzz/targets.txt and
# entry_<target> names each one's entry function.
set(TARNVALE_FUZZ_TARGETS "")
set(fuzz_target_table "")
file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/targets.txt" fuzz_target_lines REGEX "^[a-z]")
foreach(line IN LISTS fuzz_target_lines)
  string(REGEX REPLACE " +" ";" fields "${line}")
  list(GET fields 0 target)
  list(GET fields 1 entry)
  list(APPEND TARNVALE_FUZZ_TARGETS ${target})
  set(entry_${target} ${entry})
  string(APPEND fuzz_target_table "{\"${target}\", ${entry}},\n")
endforeach()

if(NOT TARGET tarnvale_fuzz_entries)
  set(fuzz_generated "${CMAKE_BINARY_DIR}/fuzz-generated")
  file(CONFIGURE OUTPUT "${fuzz_generated}/fuzz_targets.inc" CONTENT "${fuzz_target_table}")
  add_library(tarnvale_fuzz_entries STATIC "${CMAKE_CURRENT_LIST_DIR}/fuzz_entries.cpp")
  target_include_directories(tarnvale_fuzz_entries PUBLIC "${CMAKE_CURRENT_LIST_DIR}/..")
  target_include_directories(tarnvale_fuzz_entries PRIVATE "${fuzz_generated}")
  target_link_libraries(tarnvale_fuzz_entries PUBLIC tarnvale_output tarnvale_config tarnvale_scenery)
endif()

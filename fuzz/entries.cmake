# The fuzz entry functions, shared by the libFuzzer programs and the replay.
if(NOT TARGET tarnvale_fuzz_entries)
  add_library(tarnvale_fuzz_entries STATIC "${CMAKE_CURRENT_LIST_DIR}/fuzz_entries.cpp")
  target_include_directories(tarnvale_fuzz_entries PUBLIC "${CMAKE_CURRENT_LIST_DIR}/..")
  target_link_libraries(tarnvale_fuzz_entries PUBLIC tarnvale_output tarnvale_config tarnvale_scenery)
endif()
set(TARNVALE_FUZZ_TARGETS bgl_fs9 bgl_fs8 fs2002_readers scenery_cfg program_config database_file)

# Replays the stored fuzz corpus and the inputs of past crashes through the
# fuzz entries, one CTest test per target. Works with any compiler; fuzzing
# itself needs clang (fuzz/CMakeLists.txt).
include("${CMAKE_CURRENT_LIST_DIR}/entries.cmake")
add_executable(tarnvale-fuzz-replay "${CMAKE_CURRENT_LIST_DIR}/replay_main.cpp")
target_link_libraries(tarnvale-fuzz-replay PRIVATE tarnvale_fuzz_entries)
foreach(target IN LISTS TARNVALE_FUZZ_TARGETS)
  set(inputs "")
  foreach(kind corpus regressions)
    if(IS_DIRECTORY "${CMAKE_CURRENT_LIST_DIR}/${kind}/${target}")
      list(APPEND inputs "${CMAKE_CURRENT_LIST_DIR}/${kind}/${target}")
    endif()
  endforeach()
  if(inputs)
    add_test(NAME fuzz_replay.${target} COMMAND tarnvale-fuzz-replay ${target} ${inputs})
  endif()
endforeach()

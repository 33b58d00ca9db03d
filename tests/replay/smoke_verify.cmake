# Checks the smoke run's replay: `--replay smoke.replay --verify` exits 0 and
# reports the level, health and player_x of smoke-results.txt.
execute_process(COMMAND ${GAME} --replay ${FOLDER}/smoke.replay --verify
                RESULT_VARIABLE code OUTPUT_VARIABLE verified ERROR_VARIABLE message)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "the replay check exited with ${code}: ${message}")
endif()
file(READ ${FOLDER}/smoke-results.txt results)
foreach(key level health player_x)
  string(REGEX MATCH "${key}=[^\n]*" smoke "${results}")
  string(REGEX MATCH "${key}=[^\n]*" replay "${verified}")
  if(NOT smoke STREQUAL replay OR smoke STREQUAL "")
    message(FATAL_ERROR "smoke run: '${smoke}', replay: '${replay}'")
  endif()
endforeach()

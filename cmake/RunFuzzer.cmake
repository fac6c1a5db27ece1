# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one fuzz target for a bounded time on a scratch copy of its seed corpus.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
if(SEED AND EXISTS "${SEED}")
  file(COPY "${SEED}/" DESTINATION "${WORK}")
endif()
execute_process(
  COMMAND "${FUZZER}" -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
          -artifact_prefix=${WORK}-
          "${WORK}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "fuzz target failed with ${result}")
endif()

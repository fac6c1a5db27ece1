# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one fuzz target for a bounded time on a scratch copy of its seed corpus.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
if(SEED AND EXISTS "${SEED}")
  file(COPY "${SEED}/" DESTINATION "${WORK}")
endif()
# A target may have its seeds checked first: each runs once with the extra
# options in FUZZ_SEED_CHECK (from the test's environment), such as a time
# limit per input, and one that fails fails the run.
if(DEFINED ENV{FUZZ_SEED_CHECK})
  separate_arguments(check UNIX_COMMAND "$ENV{FUZZ_SEED_CHECK}")
  execute_process(
    COMMAND "${FUZZER}" -runs=0 -rss_limit_mb=2048 ${check} -artifact_prefix=${WORK}-seed-
            "${WORK}"
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "seed check failed with ${result}")
  endif()
endif()
execute_process(
  COMMAND "${FUZZER}" -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
          -artifact_prefix=${WORK}-
          "${WORK}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "fuzz target failed with ${result}")
endif()

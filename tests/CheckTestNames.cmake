# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that ctest lists every case of a parameterised test under a name
# that says which case it is: never a dump of its parameter, never its bare
# index (a case nobody named is listed as ".../0" first).
#   cmake -DCTEST=<ctest> -DBUILD_DIR=<build> -P CheckTestNames.cmake
execute_process(COMMAND "${CTEST}" -N WORKING_DIRECTORY "${BUILD_DIR}"
  RESULT_VARIABLE result OUTPUT_VARIABLE listing)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "ctest -N failed: ${result}")
endif()
string(REGEX MATCHALL "Test +#[0-9]+: [^\n]*(GetParam\\(\\)|byte object)[^\n]*" dumped "${listing}")
string(REGEX MATCHALL "Test +#[0-9]+: [^ \n]+/[^ \n]+/0\n" indexed "${listing}")
list(TRANSFORM indexed STRIP)
set(unnamed ${dumped} ${indexed})
if(unnamed)
  list(JOIN unnamed "\n" text)
  message(FATAL_ERROR "cases without a name of their own:\n${text}")
endif()

# Runs pelagor-cli with standard output on /dev/full, which takes no byte: every command that
# prints its result must fail with the system's reason, never exit 0 with its output lost.
#   cmake -DCLI=... -DSAMPLE=... -P RunFullOutput.cmake
cmake_policy(VERSION 3.25)
foreach(command gpx dump show)
    execute_process(COMMAND "${CLI}" ${command} "${SAMPLE}"
        OUTPUT_FILE /dev/full RESULT_VARIABLE status ERROR_VARIABLE err)
    if(NOT status EQUAL 1)
        message(FATAL_ERROR "${command}: status ${status}, expected 1: ${err}")
    endif()
    if(NOT err STREQUAL "pelagor-cli: cannot write standard output: No space left on device\n")
        message(FATAL_ERROR "${command}: stderr is '${err}'")
    endif()
endforeach()

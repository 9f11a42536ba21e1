# An output named through a symbolic link: the file the link names gets the new contents, the link
# stays a link, and nothing else is left in either folder (no backup, no temporary file); convert
# and gpx alike. The host makes the link: under the emulator a Windows program cannot make one.
#   cmake -DCLI=... -DEMULATOR=... -DSAMPLE=... -DREFERENCE=... -DWORK=... -P RunLinkedOutput.cmake
cmake_policy(VERSION 3.25)
foreach(command IN ITEMS convert gpx)
    file(REMOVE_RECURSE "${WORK}")
    file(MAKE_DIRECTORY "${WORK}/maps")
    file(WRITE "${WORK}/maps/real.mps" "precious")
    file(CREATE_LINK maps/real.mps "${WORK}/trip.mps" SYMBOLIC)
    set(args gpx "${SAMPLE}" -o trip.mps)
    set(begins 3c3f786d6c)  # "<?xml"
    if(command STREQUAL "convert")
        set(args convert "${SAMPLE}" --reference "${REFERENCE}" -o trip.mps)
        set(begins 4d73526364)  # "MsRcd"
    endif()
    execute_process(COMMAND ${EMULATOR} "${CLI}" ${args} WORKING_DIRECTORY "${WORK}"
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    file(READ "${WORK}/maps/real.mps" written LIMIT 5 HEX)
    file(GLOB_RECURSE left LIST_DIRECTORIES true RELATIVE "${WORK}" "${WORK}/*")
    list(SORT left)
    if(NOT status EQUAL 0 OR NOT IS_SYMLINK "${WORK}/trip.mps" OR NOT written STREQUAL begins
       OR NOT left STREQUAL "maps;maps/real.mps;trip.mps")
        message(FATAL_ERROR "${command} through a link (${status}): the linked file begins "
            "'${written}', the folders hold '${left}': ${out}${err}")
    endif()
endforeach()

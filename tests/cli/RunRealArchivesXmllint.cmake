# Each real MapSource file exports as GPX that xmllint, a parser of its own, finds well-formed.
#
#   cmake -DCLI=<pelagor-cli> -DXMLLINT=<xmllint> -DREAL=<folder> -DWORK=<folder>
#         -P RunRealArchivesXmllint.cmake
cmake_policy(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(GLOB archives ${REAL}/*.mps)
if(NOT archives)
    message(FATAL_ERROR "no MapSource files in ${REAL}")
endif()
foreach(archive IN LISTS archives)
    get_filename_component(name ${archive} NAME_WE)
    execute_process(COMMAND ${CLI} gpx ${archive} -o ${WORK}/${name}.gpx RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "pelagor-cli gpx ${archive} exited with ${status}")
    endif()
    execute_process(COMMAND ${XMLLINT} --noout ${WORK}/${name}.gpx RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "xmllint finds ${name}.gpx not well-formed")
    endif()
endforeach()

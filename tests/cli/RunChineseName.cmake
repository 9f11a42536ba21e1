# Runs pelagor-cli (under the emulator on a cross build) on a copy of a sample whose name is in
# Chinese, as a user's shell passes it: the output must equal that of the same file under an
# ASCII name, and a missing Chinese name must come back unchanged in the message.
#   cmake -DCLI=... -DEMULATOR=... -DSAMPLE=... -DWORK=... -P RunChineseName.cmake
cmake_policy(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(chinese "${WORK}/航跡 樣本.wtr")
file(COPY_FILE "${SAMPLE}" "${WORK}/plain.wtr")
file(COPY_FILE "${SAMPLE}" "${chinese}")

function(run_cli file)
    execute_process(COMMAND ${EMULATOR} "${CLI}" dump "${file}"
        WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    set(status "${status}" PARENT_SCOPE)
    set(out "${out}" PARENT_SCOPE)
    set(err "${err}" PARENT_SCOPE)
endfunction()

run_cli("plain.wtr")
if(NOT status EQUAL 0)
    message(FATAL_ERROR "plain.wtr: status ${status}: ${err}")
endif()
set(expected "${out}")

run_cli("航跡 樣本.wtr")
if(NOT status EQUAL 0)
    message(FATAL_ERROR "Chinese name: status ${status}: ${err}")
endif()
if(NOT out STREQUAL expected)
    message(FATAL_ERROR "Chinese name: the output differs from that of the same file")
endif()
string(FIND "${out}" "\r\n" crlf)
if(NOT crlf EQUAL -1)
    message(FATAL_ERROR "the output has CR LF line ends")
endif()

run_cli("無此檔.wtr")
if(NOT status EQUAL 2)
    message(FATAL_ERROR "missing Chinese name: status ${status}")
endif()
string(FIND "${err}" "無此檔.wtr: " at)
if(NOT at EQUAL 0)
    message(FATAL_ERROR "missing Chinese name: the message does not begin with the name: ${err}")
endif()

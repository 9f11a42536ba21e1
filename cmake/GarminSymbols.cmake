# Writes the table of Garmin's waypoint symbol names (gpx/GarminSymbolTable.inc) from the list
# of codes and names kept beside the project, or checks that the table in the tree still says
# what the list says. The list has one symbol a line, a code, a tab and a name, after comment
# lines starting with '#' and a heading line; where several lines share a code, the first names
# it. The table is sorted by code, for a binary search.
#
#   cmake -DLIST=<garmin-symbols.tsv> -DTABLE=<GarminSymbolTable.inc> [-DCHECK=ON]
#         -P GarminSymbols.cmake

cmake_minimum_required(VERSION 3.25)

file(READ ${LIST} content)
# CMake's lists are text split at semicolons: they travel as a placeholder.
string(REPLACE ";" "@SEMICOLON@" content "${content}")
string(REPLACE "\r" "" content "${content}")
string(REPLACE "\n" ";" lines "${content}")
set(seen "")
set(entries "")
foreach(line IN LISTS lines)
    if(NOT line MATCHES "^([0-9]+)\t(.+)$")
        continue()
    endif()
    set(code ${CMAKE_MATCH_1})
    set(name "${CMAKE_MATCH_2}")
    if(code GREATER 65535)
        message(FATAL_ERROR "${LIST}: symbol code ${code} does not fit 16 bits")
    endif()
    if(code IN_LIST seen)
        continue()
    endif()
    list(APPEND seen ${code})
    string(REPLACE "\\" "\\\\" name "${name}")
    string(REPLACE "\"" "\\\"" name "${name}")
    # Zero-padded, so that the list sorts by code.
    string(LENGTH "${code}" digits)
    math(EXPR padding "5 - ${digits}")
    string(REPEAT "0" ${padding} zeros)
    list(APPEND entries "${zeros}${code}\t${code}, \"${name}\"")
endforeach()
list(SORT entries)

string(CONCAT text
       "// Written by cmake/GarminSymbols.cmake from garmin-symbols.tsv: change the list and\n"
       "// build the target gpx-symbols rather than editing this file.\n")
foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^[0-9]+\t" "" entry "${entry}")
    string(APPEND text "{${entry}},\n")
endforeach()

string(REPLACE "@SEMICOLON@" ";" text "${text}")

if(CHECK)
    file(READ ${TABLE} committed)
    if(NOT committed STREQUAL text)
        message(FATAL_ERROR "${TABLE} no longer matches ${LIST}: build the target gpx-symbols")
    endif()
else()
    file(WRITE ${TABLE} "${text}")
endif()

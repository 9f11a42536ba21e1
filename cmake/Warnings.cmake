# Warnings every target of ours is built with; PELAGOR_WERROR makes them errors (CI does).
function(pelagor_set_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${PELAGOR_WERROR}>:/WX>)
    else()
        target_compile_options(${target} PRIVATE
            -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
            -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-align
            -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough
            $<$<BOOL:${PELAGOR_WERROR}>:-Werror>)
    endif()
endfunction()

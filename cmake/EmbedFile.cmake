# Writes a C++ source that defines a function returning the bytes of a file, so that a program
# carries the file inside itself (on every platform, cross builds included).
#
#   cmake -DINPUT=<file> -DOUTPUT=<source.cpp> -DHEADER=<header> -DFUNCTION=<qualified name>
#         -P EmbedFile.cmake

cmake_minimum_required(VERSION 3.25)

file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE ${OUTPUT}.new
     "// Made by cmake/EmbedFile.cmake from ${INPUT}.\n"
     "#include \"${HEADER}\"\n\n"
     "#include <array>\n\n"
     "std::span<const std::uint8_t> ${FUNCTION}() {\n"
     "    static constexpr std::array<std::uint8_t, ${size}> kBytes{${bytes}};\n"
     "    return kBytes;\n"
     "}\n")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)

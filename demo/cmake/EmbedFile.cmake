# Turns a file into a C++ source defining its bytes and their count:
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -DHEADER=include/path.h -P EmbedFile.cmake
foreach(var INPUT OUTPUT SYMBOL HEADER)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "EmbedFile: ${var} not given")
  endif()
endforeach()

file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
if(size EQUAL 0)
  message(FATAL_ERROR "EmbedFile: ${INPUT} is empty")
endif()

# Sixteen bytes a line.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")

file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT} at build time; do not edit.\n"
  "#include \"${HEADER}\"\n\n"
  "const unsigned char ${SYMBOL}[] = {\n    ${bytes}\n};\n"
  "const std::size_t ${SYMBOL}Size = ${size};\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")

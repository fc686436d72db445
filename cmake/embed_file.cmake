# Writes OUTPUT, a C++ source that defines the EmbeddedFile VARIABLE with the bytes of INPUT
# (an empty one when INPUT does not exist). Run as: cmake -DINPUT=.. -DOUTPUT=.. -DVARIABLE=.. -P
if(EXISTS "${INPUT}")
  file(READ "${INPUT}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
else()
  set(size 0)
  set(bytes "0")
endif()
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT} by embed_file.cmake; do not edit.\n"
  "#include \"core/embedded_data.h\"\n\n"
  "namespace {\nalignas(16) const unsigned char bytes[] = {\n${bytes}\n};\n}\n\n"
  "const EmbeddedFile ${VARIABLE} = {bytes, ${size}};\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")

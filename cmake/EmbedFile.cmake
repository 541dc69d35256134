# Turns a binary file into a C++ source holding its bytes, for data the
# program carries outside the resource section.
# Script mode: cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P EmbedFile.cmake
if(CMAKE_SCRIPT_MODE_FILE)
    file(READ "${INPUT}" hex HEX)
    string(LENGTH "${hex}" hexLength)
    math(EXPR size "${hexLength} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
    file(WRITE "${OUTPUT}.tmp"
        "// Generated from ${NAME} by EmbedFile.cmake; do not edit.\n"
        "#include <cstddef>\n#include <cstdint>\n\n"
        "extern const std::uint8_t ${SYMBOL}[${size}] = {\n    ${bytes}\n};\n"
        "extern const std::size_t ${SYMBOL}Size = ${size};\n")
    file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
    file(REMOVE "${OUTPUT}.tmp")
    return()
endif()

# qf_embed_file(<target> <file> <symbol>): compiles <file>'s bytes into <target>
# as `const std::uint8_t <symbol>[]` and `const std::size_t <symbol>Size`.
function(qf_embed_file target file symbol)
    get_filename_component(name "${file}" NAME)
    set(output "${CMAKE_CURRENT_BINARY_DIR}/embedded/${symbol}.cpp")
    add_custom_command(
        OUTPUT "${output}"
        COMMAND "${CMAKE_COMMAND}" -DINPUT=${file} -DOUTPUT=${output}
                -DSYMBOL=${symbol} -DNAME=${name} -P "${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake"
        DEPENDS "${file}" "${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake"
        COMMENT "Embedding ${name}"
        VERBATIM)
    target_sources(${target} PRIVATE "${output}")
endfunction()

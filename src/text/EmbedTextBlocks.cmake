# Writes a C++ source holding the text blocks as byte arrays.
#   BLOCK_DIR  folder of the block files
#   BLOCKS     file names separated by "|": the base block, then the twelve
#              language blocks in language-index order
#   OUTPUT     the source to write
string(REPLACE "|" ";" _blocks "${BLOCKS}")
list(LENGTH _blocks _count)
if(NOT _count EQUAL 13)
    message(FATAL_ERROR "expected the base block and twelve language blocks, got ${_count} files")
endif()

set(_source "// Generated from src/text/blocks/ at build time; edit the block files.\n#include \"text/TextBlocks.h\"\n\nnamespace\n{\n")
set(_index 0)

foreach(_block ${_blocks})
    file(READ ${BLOCK_DIR}/${_block} _hex HEX)
    string(LENGTH "${_hex}" _digits)
    if(_digits EQUAL 0)
        message(FATAL_ERROR "${_block} is empty")
    endif()
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," _bytes "${_hex}")
    string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n        " _bytes "${_bytes}")
    string(APPEND _source "    // ${_block}\n    const unsigned char block${_index}[] =\n    {\n        ${_bytes}\n    };\n\n")
    math(EXPR _index "${_index} + 1")
endforeach()

string(APPEND _source "}\n\nconst TextBlock baseBlock { reinterpret_cast<const char*> (block0), sizeof (block0) };\n\nconst TextBlock languageBlocks[12] =\n{\n")
foreach(_i RANGE 1 12)
    string(APPEND _source "    { reinterpret_cast<const char*> (block${_i}), sizeof (block${_i}) },\n")
endforeach()
string(APPEND _source "};\n")

file(WRITE ${OUTPUT} "${_source}")

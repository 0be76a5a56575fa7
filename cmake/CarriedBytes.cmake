# Files that the programs carry inside themselves byte for byte (the player,
# the web page's template): an assembler .incbin of the built file, so that
# nothing of it passes through generated sources. The library defines
# SYMBOL_begin and SYMBOL_end; ACCESSOR is the C++ source that wraps them.
# The assembler file includes the carried file itself, so the library is
# rebuilt whenever the producing target writes it again.
enable_language(ASM)

function(add_carried_bytes library)
  cmake_parse_arguments(ARG "" "FILE;SYMBOL;DESCRIPTION;PRODUCER;ACCESSOR" "" ${ARGN})
  set(CARRIED_FILE ${ARG_FILE})
  set(CARRIED_SYMBOL ${ARG_SYMBOL})
  set(CARRIED_DESCRIPTION ${ARG_DESCRIPTION})
  set(assembly ${CMAKE_CURRENT_BINARY_DIR}/${ARG_SYMBOL}.S)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/carried_bytes.S.in ${assembly} @ONLY)
  add_library(${library} STATIC ${ARG_ACCESSOR} ${assembly})
  set_source_files_properties(${assembly} PROPERTIES OBJECT_DEPENDS ${ARG_FILE})
  target_include_directories(${library} PUBLIC ${PROJECT_SOURCE_DIR})
  add_dependencies(${library} ${ARG_PRODUCER})
endfunction()

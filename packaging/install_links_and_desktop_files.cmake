# Runs when installing, after the programs are in place: links to them in the
# bin folder, and the files that associate the document type with the
# launcher under the share folder. Set by the install rules before:
# PIVOLANE_PROGRAMS, PIVOLANE_PROGRAM_DIR, PIVOLANE_BIN_DIR, PIVOLANE_SHARE_DIR
# (under the prefix), PIVOLANE_INSTALLED_PROGRAM_DIR (the programs' final
# folder), PIVOLANE_REFRESH_DATABASES, PIVOLANE_DESKTOP_FILES (the tool that
# writes the association files).
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
string(REGEX REPLACE "/+$" "" root "${root}")

file(MAKE_DIRECTORY "${root}/${PIVOLANE_BIN_DIR}")
foreach(program IN LISTS PIVOLANE_PROGRAMS)
  set(link "${root}/${PIVOLANE_BIN_DIR}/${program}")
  file(RELATIVE_PATH target "${root}/${PIVOLANE_BIN_DIR}" "${root}/${PIVOLANE_PROGRAM_DIR}/${program}")
  message(STATUS "Installing: ${link} -> ${target}")
  file(CREATE_LINK "${target}" "${link}" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${link}")
endforeach()

execute_process(
  COMMAND "${PIVOLANE_DESKTOP_FILES}" "${root}/${PIVOLANE_SHARE_DIR}"
          "${PIVOLANE_INSTALLED_PROGRAM_DIR}/Pivolane"
  OUTPUT_VARIABLE written RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "The association files could not be written (${result})")
endif()
string(REGEX REPLACE "\n$" "" written "${written}")
string(REPLACE "\n" ";" written "${written}")
foreach(file IN LISTS written)
  message(STATUS "Installing: ${file}")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${file}")
endforeach()

# An installation in place (no staging folder) is seen by the desktop at once.
if(PIVOLANE_REFRESH_DATABASES AND "$ENV{DESTDIR}" STREQUAL "")
  execute_process(COMMAND update-mime-database "${root}/${PIVOLANE_SHARE_DIR}/mime")
  find_program(PIVOLANE_UPDATE_DESKTOP_DATABASE update-desktop-database)
  if(PIVOLANE_UPDATE_DESKTOP_DATABASE)
    execute_process(COMMAND "${PIVOLANE_UPDATE_DESKTOP_DATABASE}"
                            "${root}/${PIVOLANE_SHARE_DIR}/applications")
  endif()
endif()

# Run by CPack on the staged files before it builds the .deb: Debian puts games in
# /usr/games, not in /usr/bin where `cmake --install` puts the program, and strips
# the compiler's notes that CPack's plain strip leaves in.
set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT EXISTS "${usr}/bin/spinzelle")
  message(FATAL_ERROR "no ${usr}/bin/spinzelle to move to games/")
endif()
file(MAKE_DIRECTORY "${usr}/games")
file(RENAME "${usr}/bin/spinzelle" "${usr}/games/spinzelle")
file(GLOB left "${usr}/bin/*")
if(NOT left)
  file(REMOVE_RECURSE "${usr}/bin")
endif()
find_program(STRIP strip REQUIRED)
execute_process(COMMAND "${STRIP}" --remove-section=.comment --remove-section=.note "${usr}/games/spinzelle"
                COMMAND_ERROR_IS_FATAL ANY)

# Run by cpack on the staged files before it packs them: CPack strips the game's own
# exe, not the DLLs the release carries, and MinGW's come with their symbols
# (libstdc++-6.dll is 24 MB).
file(GLOB_RECURSE binaries "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.dll")
foreach(binary ${binaries})
  execute_process(COMMAND "${CPACK_SPINZELLE_STRIP}" --strip-unneeded "${binary}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

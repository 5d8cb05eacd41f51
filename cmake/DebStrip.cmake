# Run by CPack on the staged files before the .deb is made: strips every
# program the way dh_strip does, so no debug data and no compiler notes go
# into the package.
file(GLOB programs ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*)
foreach(program IN LISTS programs)
  execute_process(COMMAND ${CPACK_PIGMO_STRIP} --remove-section=.comment
                          --remove-section=.note --strip-unneeded ${program}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()

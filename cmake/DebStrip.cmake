# Run by CPack on the staged files before the .deb is made: strips the
# program the way dh_strip does, so no debug data and no compiler notes go
# into the package.
execute_process(COMMAND ${CPACK_PIGMO_STRIP} --remove-section=.comment --remove-section=.note
                        --strip-unneeded ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/pigmo
                COMMAND_ERROR_IS_FATAL ANY)

# Where `cmake --install` puts the programs. The two programs and every data
# file they read form one program directory, lib/wormgear, because the
# programs find their files beside their own executable; bin/ holds links to
# them, and share/ the desktop entry, icon, file types, metadata, manual page
# and completion (packaging/CMakeLists.txt).
#
# Install components:
#   program   the program directory lib/wormgear
#   desktop   everything else of an installation (links, share/)
#   portable  the program directory once more, at the root of the portable
#             .tar.gz; never installed by a plain `cmake --install`
set(WORMGEAR_PROGRAM_INSTALL_DIR lib/wormgear)

# wormgear_install_program(TARGETS target... | FILES file...)
# Puts programs (and the modules they load) or the data files they need into
# the program directory, and
# into the portable archive. Every file a program needs at run time lies in
# build/bin and gets its install line here, next to the rule that makes it.
function(wormgear_install_program kind)
  if(kind STREQUAL "TARGETS")
    # LIBRARY: a run-time module a program loads from its own directory.
    install(TARGETS ${ARGN} RUNTIME DESTINATION ${WORMGEAR_PROGRAM_INSTALL_DIR} COMPONENT program
                            LIBRARY DESTINATION ${WORMGEAR_PROGRAM_INSTALL_DIR} COMPONENT program)
    install(TARGETS ${ARGN} RUNTIME DESTINATION . COMPONENT portable EXCLUDE_FROM_ALL
                            LIBRARY DESTINATION . COMPONENT portable EXCLUDE_FROM_ALL)
  elseif(kind STREQUAL "FILES")
    install(FILES ${ARGN} DESTINATION ${WORMGEAR_PROGRAM_INSTALL_DIR} COMPONENT program)
    install(FILES ${ARGN} DESTINATION . COMPONENT portable EXCLUDE_FROM_ALL)
  else()
    message(FATAL_ERROR "wormgear_install_program: TARGETS or FILES, not ${kind}")
  endif()
endfunction()

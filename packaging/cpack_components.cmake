# Read by cpack once per generator: the .tar.gz is the program directory
# alone, at the archive's root; the .deb is a whole installation under /usr.
if(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_ALL portable)
  # One folder, wormgear-VERSION-linux-ARCH, that is the program directory.
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
elseif(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_ALL program desktop)
endif()

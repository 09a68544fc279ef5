# Where `cmake --install` puts the dialer's parts (FHS, through
# GNUInstallDirs): the program in bin, the engine library in a private
# library folder, sounds and desktop files under share. The program finds
# the engine and its sounds relative to its own folder, so a tree unpacked
# anywhere (dpkg -x) works as well as one installed to /usr.
include(GNUInstallDirs)
# lib/orvanta, not the multiarch folder: the same for every prefix, and the
# package's private folder as Debian allows it.
set(ORVANTA_ENGINE_INSTALL_DIR lib/orvanta)
set(ORVANTA_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/orvanta)
file(RELATIVE_PATH ORVANTA_ENGINE_FOLDER_FROM_PROGRAM
  /${CMAKE_INSTALL_BINDIR} /${ORVANTA_ENGINE_INSTALL_DIR})
file(RELATIVE_PATH ORVANTA_DATA_FOLDER_FROM_PROGRAM
  /${CMAKE_INSTALL_BINDIR} /${ORVANTA_DATA_INSTALL_DIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/InstallLayout.h.in
  ${CMAKE_BINARY_DIR}/generated/orvanta/InstallLayout.h @ONLY)

# Install rules of the programs built elsewhere, and the Debian package.
install(TARGETS orvanta RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Loaded at run time by path, never linked: no soname link, no headers.
install(TARGETS Orvanta LIBRARY DESTINATION ${ORVANTA_ENGINE_INSTALL_DIR} NAMELINK_SKIP)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvanta)
set(CPACK_PACKAGE_VENDOR "The Orvanta team")
set(CPACK_PACKAGE_CONTACT "The Orvanta team <support@orvanta.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "softphone for a prepaid calling service")
set(CPACK_PACKAGE_DESCRIPTION
  "Signs a subscriber in to the operator's servers, registers the SIP account\n\
and calls ordinary telephones on up to four lines, with a dial pad, DTMF,\n\
hold, transfer, conference, recording, auto answer and do-not-disturb.\n\
Opens sip:, sips:, tel: and callto: links.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://orvanta.example/")
# Library dependencies come from dpkg-shlibdeps over every ELF file in the
# package, the dlopened engine included; these are what it cannot see: the
# SIP stack's grammar files and the SVG icon plugin.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "linphone-common, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "pulseaudio")
set(CPACK_STRIP_FILES ON)
include(CPack)

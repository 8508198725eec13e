# The Debian package: cpack -G DEB in the build directory makes vostrel_VERSION_ARCH.deb from
# the install rules, installed under /usr. The version is the project's.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vostrel)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Vostrel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arithmetic puzzle: make ten from four digits")
set(CPACK_PACKAGE_DESCRIPTION
    "Vostrel is a single-player arithmetic puzzle with a Japanese interface.
Each problem shows four random digits; choose powers and roots, operators
and an order of evaluation so that the expression gives 10. A game is a
fixed number of problems, and its final score may enter a five-row
high-score table.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The desktop entry is written at install time with the game's absolute path: the install must
# see the final prefix, not the staging directory.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX "${CPACK_PACKAGING_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Vostrel developers <vostrel@users.noreply.github.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Japanese texts need a Gothic face; the windows name IPAGothic in their substitutions.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-ipafont-gothic)
# Qt's own texts (a text box's context menu) in the game's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The copyright file and the Debian changelog, which only the package carries.
set(VOSTREL_DEBIAN_DIR "${CMAKE_CURRENT_LIST_DIR}/debian")
configure_file("${VOSTREL_DEBIAN_DIR}/changelog.in" "${CMAKE_BINARY_DIR}/debian/changelog" @ONLY)
# The licence's terms, from the paragraph after its copyright line, as a field's continuation
# lines: each indented by one space, an empty line written " .".
file(READ "${PROJECT_SOURCE_DIR}/LICENSE" license)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/LICENSE")
string(REGEX REPLACE "^.*\nCopyright [^\n]*\n\n" "" license "${license}")
string(STRIP "${license}" license)
string(REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " VOSTREL_LICENSE_TERMS " ${license}")
configure_file("${VOSTREL_DEBIAN_DIR}/copyright.in" "${CMAKE_BINARY_DIR}/debian/copyright" @ONLY)
configure_file("${CMAKE_CURRENT_LIST_DIR}/DebianDocs.cmake.in"
               "${CMAKE_BINARY_DIR}/DebianDocs.cmake" @ONLY)
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_BINARY_DIR}/DebianDocs.cmake")
include(CPack)

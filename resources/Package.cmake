# The Debian package: cpack -G DEB in the build directory makes vostrel_VERSION_ARCH.deb from
# the install rules, installed under /usr. The version is the project's; the maintainer, the
# section, the description and the fixed dependencies are the source package's, read from
# debian/control, and its changelog and copyright file are shipped as they stand.
set(VOSTREL_DEBIAN_DIR "${PROJECT_SOURCE_DIR}/debian")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${VOSTREL_DEBIAN_DIR}/control"
                                                               "${VOSTREL_DEBIAN_DIR}/changelog")
file(READ "${VOSTREL_DEBIAN_DIR}/control" control)
# Prints the value of the field ${name} of debian/control, continuation lines joined by "\n".
function(vostrel_control_field out name)
    if(NOT control MATCHES "(^|\n)${name}:[ ]*([^\n]*(\n[ \t][^\n]*)*)")
        message(FATAL_ERROR "debian/control has no ${name} field")
    endif()
    set(${out} "${CMAKE_MATCH_2}" PARENT_SCOPE)
endfunction()
# The version is written once, in project(): the changelog's first entry must name it.
file(STRINGS "${VOSTREL_DEBIAN_DIR}/changelog" top LIMIT_COUNT 1)
if(NOT top MATCHES "^vostrel \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "debian/changelog begins \"${top}\", not version ${PROJECT_VERSION}: "
                        "add an entry for it (dch -v ${PROJECT_VERSION})")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vostrel)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Vostrel developers")
vostrel_control_field(description Description)
# The synopsis, then the extended description without its leading space, " ." an empty line.
string(FIND "${description}" "\n" end)
string(SUBSTRING "${description}" 0 ${end} CPACK_PACKAGE_DESCRIPTION_SUMMARY)
math(EXPR end "${end} + 2")
string(SUBSTRING "${description}" ${end} -1 long)
string(REPLACE "\n .\n" "\n\n" long "${long}")
string(REPLACE "\n " "\n" CPACK_PACKAGE_DESCRIPTION "${long}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The desktop entry is written at install time with the game's absolute path: the install must
# see the final prefix, not the staging directory.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX "${CPACK_PACKAGING_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
vostrel_control_field(CPACK_DEBIAN_PACKAGE_MAINTAINER Maintainer)
vostrel_control_field(CPACK_DEBIAN_PACKAGE_SECTION Section)
vostrel_control_field(CPACK_DEBIAN_PACKAGE_PRIORITY Priority)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The binary package's own dependencies (the Gothic face that the windows name): its Depends
# without the substitutions, which cpack's dpkg-shlibdeps stands in for.
vostrel_control_field(depends Depends)
string(REGEX REPLACE "\\$\\{[^}]*\\}" "" depends "${depends}")
string(REGEX REPLACE "[ \t\n]*,[ \t\n,]*" ", " depends "${depends}")
string(REGEX REPLACE "^, |, $" "" CPACK_DEBIAN_PACKAGE_DEPENDS "${depends}")
vostrel_control_field(CPACK_DEBIAN_PACKAGE_RECOMMENDS Recommends)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
configure_file("${CMAKE_CURRENT_LIST_DIR}/DebianDocs.cmake.in"
               "${CMAKE_BINARY_DIR}/DebianDocs.cmake" @ONLY)
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_BINARY_DIR}/DebianDocs.cmake")
include(CPack)

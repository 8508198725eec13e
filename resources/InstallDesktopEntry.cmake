# Runs at install time, when the prefix is known: writes the desktop entry with the absolute
# path of the installed game, which need not be on PATH.
# In: VOSTREL_DESKTOP_IN, VOSTREL_WORK_DIR, VOSTREL_INSTALL_BIN (relative to the prefix),
# VOSTREL_APP_ID.

# Exec takes a quoted argument: \ " ` $ are escaped inside the quotes, then every backslash is
# doubled once more as the value is a desktop-entry string; % stands for itself only doubled.
function(vostrel_desktop_quote out path)
    string(REPLACE "\\" "\\\\" q "${path}")
    string(REPLACE "\"" "\\\"" q "${q}")
    string(REPLACE "`" "\\`" q "${q}")
    string(REPLACE "$" "\\$" q "${q}")
    string(REPLACE "\\" "\\\\" q "${q}")
    string(REPLACE "%" "%%" q "${q}")
    set(${out} "\"${q}\"" PARENT_SCOPE)
endfunction()

set(prefix "${CMAKE_INSTALL_PREFIX}")
if(NOT IS_ABSOLUTE "${prefix}")
    get_filename_component(prefix "${prefix}" ABSOLUTE)
endif()
if(prefix MATCHES "[\n\r]")
    message(FATAL_ERROR "The install prefix holds a line break: ${prefix}")
endif()

vostrel_desktop_quote(VOSTREL_DESKTOP_EXEC "${prefix}/${VOSTREL_INSTALL_BIN}/vostrel")

set(entry "${VOSTREL_WORK_DIR}/${VOSTREL_APP_ID}.desktop")
configure_file("${VOSTREL_DESKTOP_IN}" "${entry}" @ONLY)
file(INSTALL DESTINATION "${prefix}/share/applications" TYPE FILE FILES "${entry}")

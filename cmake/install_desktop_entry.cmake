# Run by `cmake --install`: writes the desktop entry with the absolute path of the installed
# program, so a menu launcher starts this copy whatever PATH holds.
# In: SORAKADO_DESKTOP_TEMPLATE (set by an install(CODE) just before), CMAKE_INSTALL_PREFIX.
file(READ "${SORAKADO_DESKTOP_TEMPLATE}" entry)
set(program "${CMAKE_INSTALL_PREFIX}/sorakado")
# Desktop entry quoting: inside a quoted argument " ` $ and \ take a backslash, and the file's
# string escaping doubles that backslash; a literal % is written %%.
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\\\\\1" quoted "${program}")
string(REPLACE "%" "%%" quoted "${quoted}")
string(REGEX REPLACE "\nExec=[^\n]*" "\nExec=@exec@" entry "${entry}")
string(REPLACE "@exec@" "\"${quoted}\"" entry "${entry}")
set(target "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/sorakado.desktop")
message(STATUS "Installing: ${target}")
file(WRITE "${target}" "${entry}")

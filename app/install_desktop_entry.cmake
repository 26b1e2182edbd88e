# Writes quillmark.desktop into the installed program folder, pointing at the program and icon there.
set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
file(READ "${QMK_DESKTOP_SOURCE}" entry)
string(REPLACE "\nExec=quillmark" "\nExec=\"${CMAKE_INSTALL_PREFIX}/quillmark\"" entry "${entry}")
string(REPLACE "\nTryExec=quillmark" "\nTryExec=${CMAKE_INSTALL_PREFIX}/quillmark" entry "${entry}")
string(REPLACE "Icon=quillmark" "Icon=${CMAKE_INSTALL_PREFIX}/quillmark.svg" entry "${entry}")
string(APPEND entry "Path=${CMAKE_INSTALL_PREFIX}\n")
message(STATUS "Installing: ${folder}/quillmark.desktop")
file(WRITE "${folder}/quillmark.desktop" "${entry}")

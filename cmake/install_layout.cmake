# Where `cmake --install` puts each file: the Linux layout of GNUInstallDirs, or with QMK_PORTABLE one folder.
include(GNUInstallDirs)

if(QMK_PORTABLE)
  set(QMK_INSTALL_BINDIR .)
  set(QMK_INSTALL_DATADIR .)
else()
  set(QMK_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
  set(QMK_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/quillmark)
endif()

# The programs find their installed data from their own folder, wherever the prefix is.
file(RELATIVE_PATH QMK_DATA_FROM_BIN "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${CMAKE_INSTALL_DATADIR}/quillmark")

# The marker that makes a folder of executables the program folder: the
# build tree's and a portable install's, never an installed copy's.
set(QMK_PORTABLE_MARKER quillmark-portable.txt)
set(QMK_PORTABLE_MARKER_FILE ${CMAKE_BINARY_DIR}/${QMK_PORTABLE_MARKER})
file(WRITE ${QMK_PORTABLE_MARKER_FILE}
  "Quillmark keeps its settings, profiles, backups and optimized copies in this folder\n"
  "because this file is here. Without it, they go to ~/.local/share/quillmark/.\n")
configure_file(${QMK_PORTABLE_MARKER_FILE} ${QMK_PROGRAM_DIR}/${QMK_PORTABLE_MARKER} COPYONLY)
if(QMK_PORTABLE)
  install(FILES ${QMK_PORTABLE_MARKER_FILE} DESTINATION . COMPONENT qmk)
endif()

# Manual pages are installed compressed, as Debian ships them; -n keeps the bytes the same from build to build.
function(qmk_install_manual page component)
  get_filename_component(name ${page} NAME)
  set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/${page} > ${compressed}
    DEPENDS ${page} VERBATIM)
  add_custom_target(manual_${name} ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
endfunction()

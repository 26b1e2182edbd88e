# `cpack -G DEB`: two Debian packages with stripped programs, so a server or CI machine takes qmk without Qt.
set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VENDOR "Quillmark")
set(CPACK_PACKAGE_CONTACT "Quillmark maintainers <quillmark@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps names the libraries' packages with the versions the programs were linked against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_QMK_PACKAGE_NAME quillmark-cli)
set(CPACK_DEBIAN_QMK_DESCRIPTION "web page optimizer for scripts and CI (qmk)
qmk rewrites HTML, SSI, PHP, ASP, CSS and ColdFusion pages so that they show
the same in a browser with fewer bytes, keeping scripts and server code byte
for byte; into an output folder, or in place after a backup that can be undone.")
set(CPACK_DEBIAN_QUILLMARK_PACKAGE_NAME quillmark)
set(CPACK_DEBIAN_QUILLMARK_PACKAGE_SECTION web)
set(CPACK_DEBIAN_QUILLMARK_DESCRIPTION "web page optimizer for the desktop
Quillmark lists a site's pages with their sizes, optimizes the checked ones
into an output folder or in place with backups, shows each page's text before
and after, and keeps profiles of options. The command qmk comes with quillmark-cli.")
set(CPACK_COMPONENT_QUILLMARK_DEPENDS qmk)
# It opens pages in the browser and finds an editor through xdg-open.
set(CPACK_DEBIAN_QUILLMARK_PACKAGE_RECOMMENDS xdg-utils)

if(QMK_BUILD_GUI)
  set(CPACK_COMPONENTS_ALL qmk quillmark)
else()
  set(CPACK_COMPONENTS_ALL qmk)
endif()
include(CPack)

# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts where, and the Debian package `cpack -G DEB` makes
# of it:
#
#   bin/                              glyphmoor, glyphmoor-data, glyphmoor-launcher
#   share/glyphmoor/                  the sample runes.dat, items.dat, runewords.dat
#   share/applications/               glyphmoor.desktop (starts the launcher)
#   share/icons/hicolor/NxN/apps/     glyphmoor.png at 16, 32, 48, 64, 128, 256
#   share/man/man6, man1/             glyphmoor.6, glyphmoor-launcher.6, glyphmoor-data.1
#   share/doc/glyphmoor/              the data format of glyphmoor-data
#
# The program keeps its files in its working directory; the launcher gives it a
# folder per user and fills it with the samples the first time.

include(GNUInstallDirs)

set(glyphmoor_packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
set(glyphmoor_packaging_out ${PROJECT_BINARY_DIR}/packaging)
set(glyphmoor_samples_dir ${CMAKE_INSTALL_DATADIR}/glyphmoor)
set(glyphmoor_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/glyphmoor)

# Programs.
if(TARGET glyphmoor)
  install(TARGETS glyphmoor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS glyphmoor-data RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The launcher finds the samples relative to its own place, so the installed
# tree works under any prefix and in a staging directory.
file(RELATIVE_PATH GLYPHMOOR_BIN_TO_SAMPLES ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/glyphmoor)
configure_file(${glyphmoor_packaging_dir}/glyphmoor-launcher.in ${glyphmoor_packaging_out}/glyphmoor-launcher
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                      WORLD_READ WORLD_EXECUTE)
install(PROGRAMS ${glyphmoor_packaging_out}/glyphmoor-launcher DESTINATION ${CMAKE_INSTALL_BINDIR})

# The sample reference data, compiled by the target sample_data.
install(FILES ${PROJECT_BINARY_DIR}/data/runes.dat ${PROJECT_BINARY_DIR}/data/items.dat
              ${PROJECT_BINARY_DIR}/data/runewords.dat
        DESTINATION ${glyphmoor_samples_dir})

# Desktop menu entry and icons. The 32-pixel icon is the program's own icon 102.
install(FILES ${glyphmoor_packaging_dir}/glyphmoor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size IN ITEMS 16 32 48 64 128 256)
  if(size EQUAL 32)
    set(icon ${PROJECT_SOURCE_DIR}/resources/icon-102.png)
  else()
    set(icon ${PROJECT_SOURCE_DIR}/resources/icons/hicolor-${size}.png)
  endif()
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME glyphmoor.png)
endforeach()

# Manual pages, with the version and the installed paths filled in, and
# compressed as Debian keeps them.
set(GLYPHMOOR_FULL_SAMPLES_DIR ${CMAKE_INSTALL_FULL_DATADIR}/glyphmoor)
set(GLYPHMOOR_FULL_DOC_DIR ${CMAKE_INSTALL_PREFIX}/${glyphmoor_doc_dir})
find_program(GZIP_PROGRAM gzip)
set(man_outputs)
foreach(page IN ITEMS glyphmoor.6 glyphmoor-launcher.6 glyphmoor-data.1)
  set(page_out ${glyphmoor_packaging_out}/${page})
  if(page STREQUAL "glyphmoor-launcher.6")
    file(CONFIGURE OUTPUT ${page_out} CONTENT ".so man6/glyphmoor.6\n")
  else()
    configure_file(${glyphmoor_packaging_dir}/${page} ${page_out} @ONLY)
  endif()
  string(REGEX MATCH "[0-9]$" section ${page})
  if(GZIP_PROGRAM)
    add_custom_command(OUTPUT ${page_out}.gz
                       COMMAND ${GZIP_PROGRAM} -9 -n -c ${page_out} > ${page_out}.gz
                       DEPENDS ${page_out}
                       COMMENT "Compressing the manual page ${page}")
    list(APPEND man_outputs ${page_out}.gz)
    install(FILES ${page_out}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
  else()
    install(FILES ${page_out} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
  endif()
endforeach()
if(man_outputs)
  add_custom_target(manual_pages ALL DEPENDS ${man_outputs})
endif()

if(EXISTS ${PROJECT_SOURCE_DIR}/docs/data-format.md)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/data-format.md DESTINATION ${glyphmoor_doc_dir})
endif()

# The Debian package. Built for the prefix /usr; the dependencies are Debian
# 12's Qt 6 runtime (from the Qt version this build found), the platform
# plugins without which no window opens, and the font the window is drawn for.
set(CPACK_PACKAGE_NAME glyphmoor)
set(CPACK_PACKAGE_VENDOR "Glyphmoor developers")
set(CPACK_PACKAGE_CONTACT "Glyphmoor developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "runeword finder for socketing runes into items")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                                GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Glyphmoor developers")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack puts the summary above this text as the synopsis line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Glyphmoor is a small desktop program for players of a role-playing game in
which runes are socketed into items to make runewords. Tick the runes and the
item categories you have, keep a roster of up to 256 characters with their
levels, and Glyphmoor lists the runewords you can make under the rules chosen
in its Filters menu.

The package holds the program, a launcher that gives each user a data
folder, a sample data set, and glyphmoor-data, which compiles, decompiles
and checks the reference data.")
if(Qt6Widgets_VERSION)
  set(qt_least " (>= ${Qt6Widgets_VERSION_MAJOR}.${Qt6Widgets_VERSION_MINOR})")
else()
  set(qt_least "")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6${qt_least}, libqt6gui6${qt_least}, libqt6core6${qt_least}, qt6-qpa-plugins, fonts-dejavu-core, fonts-dejavu-extra")
include(CPack)

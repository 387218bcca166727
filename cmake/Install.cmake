# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts where, and the Debian package `cpack -G DEB` makes
# of it:
#
#   bin/                              glyphmoor, glyphmoor-data, glyphmoor-launcher
#   share/glyphmoor/                  the sample runes.dat, items.dat, runewords.dat
#   share/applications/               <app id>.desktop (starts the launcher)
#   share/metainfo/                   <app id>.metainfo.xml, for software centres
#   share/icons/hicolor/*/apps/       <app id>.svg and .png at every size
#   share/man/man1/                   glyphmoor.1, glyphmoor-launcher.1, glyphmoor-data.1
#   share/doc/glyphmoor/              copyright, changelog, the data format of glyphmoor-data
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

# The menu entry, the metainfo and the icons, all named by the app id. The PNG
# sizes are rendered from the SVG by the target desktop_icons.
if(TARGET glyphmoor)
  set(GLYPHMOOR_MEDIA_URL "https://glyphmoor.invalid/media" CACHE STRING
      "Where the screenshot named in the AppStream metainfo is published")
  configure_file(${glyphmoor_packaging_dir}/glyphmoor.desktop.in
                 ${glyphmoor_packaging_out}/${GLYPHMOOR_APP_ID}.desktop @ONLY)
  configure_file(${glyphmoor_packaging_dir}/glyphmoor.metainfo.xml.in
                 ${glyphmoor_packaging_out}/${GLYPHMOOR_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${glyphmoor_packaging_out}/${GLYPHMOOR_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${glyphmoor_packaging_out}/${GLYPHMOOR_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  set(icon_dir ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icon-102.svg DESTINATION ${icon_dir}/scalable/apps
          RENAME ${GLYPHMOOR_APP_ID}.svg)
  foreach(size IN LISTS GLYPHMOOR_ICON_SIZES)
    install(FILES ${PROJECT_BINARY_DIR}/icons/hicolor/${size}.png DESTINATION ${icon_dir}/${size}x${size}/apps
            RENAME ${GLYPHMOOR_APP_ID}.png)
  endforeach()
endif()

# Manual pages and the package's changelog, compressed as Debian keeps them.
# The pages name installed paths, so they are filled in when they are
# installed, for the prefix of that install (the package's is /usr).
find_program(GZIP_PROGRAM gzip REQUIRED)
install(CODE "
  set(PROJECT_VERSION ${PROJECT_VERSION})
  set(GLYPHMOOR_FULL_SAMPLES_DIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/glyphmoor\")
  set(GLYPHMOOR_FULL_DOC_DIR \"\${CMAKE_INSTALL_PREFIX}/${glyphmoor_doc_dir}\")
  foreach(page glyphmoor.1 glyphmoor-data.1)
    configure_file(${glyphmoor_packaging_dir}/\${page} ${glyphmoor_packaging_out}/\${page} @ONLY)
  endforeach()
  file(WRITE ${glyphmoor_packaging_out}/glyphmoor-launcher.1 \".so man1/glyphmoor.1\\n\")
  foreach(page glyphmoor.1 glyphmoor-data.1 glyphmoor-launcher.1)
    execute_process(COMMAND ${GZIP_PROGRAM} -9nf ${glyphmoor_packaging_out}/\${page} COMMAND_ERROR_IS_FATAL ANY)
  endforeach()")
install(FILES ${glyphmoor_packaging_out}/glyphmoor.1.gz ${glyphmoor_packaging_out}/glyphmoor-launcher.1.gz
              ${glyphmoor_packaging_out}/glyphmoor-data.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
execute_process(COMMAND date -u -R -d ${GLYPHMOOR_RELEASE_DATE} OUTPUT_VARIABLE GLYPHMOOR_CHANGELOG_DATE
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(${glyphmoor_packaging_dir}/changelog.in ${glyphmoor_packaging_out}/changelog @ONLY)
add_custom_command(OUTPUT ${glyphmoor_packaging_out}/changelog.gz
                   COMMAND ${GZIP_PROGRAM} -9nkf ${glyphmoor_packaging_out}/changelog
                   DEPENDS ${glyphmoor_packaging_out}/changelog)
add_custom_target(debian_changelog ALL DEPENDS ${glyphmoor_packaging_out}/changelog.gz)
install(FILES ${glyphmoor_packaging_out}/changelog.gz ${glyphmoor_packaging_dir}/copyright
        DESTINATION ${glyphmoor_doc_dir})

if(EXISTS ${PROJECT_SOURCE_DIR}/docs/data-format.md)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/data-format.md DESTINATION ${glyphmoor_doc_dir})
endif()

# The Debian package, built for the prefix /usr. dpkg-shlibdeps finds the
# libraries the programs link; the platform plugins without which no window
# opens and the font the window is drawn for are named here. The project has
# no contact address yet, so the maintainer is a bare name, which lintian
# reports as malformed-contact.
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
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
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
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, fonts-dejavu-extra")
include(CPack)

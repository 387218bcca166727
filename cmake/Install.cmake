# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts where, and the Debian package `cpack -G DEB` makes
# of it:
#
#   bin/                              glyphmoor-launcher, glyphmoor (a link to it), glyphmoor-data
#   libexec/glyphmoor/                glyphmoor, the program itself
#   share/glyphmoor/                  the sample runes.dat, items.dat, runewords.dat
#   share/applications/               <app id>.desktop (starts the launcher)
#   share/metainfo/                   <app id>.metainfo.xml, for software centres
#   share/icons/hicolor/*/apps/       <app id>.svg and .png at every size
#   share/man/man1/                   glyphmoor.1, glyphmoor-launcher.1, glyphmoor-data.1
#   share/doc/glyphmoor/              README, copyright, changelog, the data format of glyphmoor-data
#
# The program keeps its files in its working directory; the launcher gives it a
# folder per user and fills it with the samples the first time. So whatever a
# player types (glyphmoor) or clicks (the menu entry) starts the launcher, and
# the program sits where private executables go, for players who keep their
# files in a folder of their own. On Windows the program sits beside the
# launcher.

include(GNUInstallDirs)

set(glyphmoor_packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
set(glyphmoor_packaging_out ${PROJECT_BINARY_DIR}/packaging)
set(glyphmoor_samples_dir ${CMAKE_INSTALL_DATADIR}/glyphmoor)
set(glyphmoor_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/glyphmoor)

# Programs. src/launcher/CMakeLists.txt tells the launcher where the program is.
if(TARGET glyphmoor)
  install(TARGETS glyphmoor RUNTIME DESTINATION ${GLYPHMOOR_PROGRAM_DIR})
endif()
install(TARGETS glyphmoor-data RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET glyphmoor-launcher)
  install(TARGETS glyphmoor-launcher RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(NOT WIN32)
    install(CODE "file(CREATE_LINK glyphmoor-launcher
                       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/glyphmoor\" SYMBOLIC)")
  endif()
endif()

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

# Manual pages, the short README and the package's changelog (compressed as
# Debian keeps them).
# The pages name installed paths, so they are filled in when they are
# installed, for the prefix of that install (the package's is /usr).
find_program(GZIP_PROGRAM gzip REQUIRED)
install(CODE "
  set(PROJECT_VERSION ${PROJECT_VERSION})
  set(GLYPHMOOR_FULL_SAMPLES_DIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/glyphmoor\")
  set(GLYPHMOOR_FULL_DOC_DIR \"\${CMAKE_INSTALL_PREFIX}/${glyphmoor_doc_dir}\")
  set(GLYPHMOOR_FULL_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${GLYPHMOOR_PROGRAM_DIR}/glyphmoor\")
  foreach(page glyphmoor.1 glyphmoor-data.1)
    configure_file(${glyphmoor_packaging_dir}/\${page} ${glyphmoor_packaging_out}/\${page} @ONLY)
  endforeach()
  configure_file(${glyphmoor_packaging_dir}/README.in ${glyphmoor_packaging_out}/README @ONLY)
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
              ${glyphmoor_packaging_out}/README
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

The command glyphmoor (also named glyphmoor-launcher) starts the program in
the player's own data folder, which it fills with the sample data set the
first time. glyphmoor-data compiles, decompiles and checks the reference
data.")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, fonts-dejavu-extra")
include(CPack)

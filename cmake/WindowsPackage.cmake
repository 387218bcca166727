# SPDX-License-Identifier: GPL-3.0-or-later
# What a Windows build installs, flat in one folder as Windows programs are,
# and the two packages `cpack` makes of it:
#
#   Glyphmoor-<version>-win64.zip        the portable program: unzip anywhere
#                                        writable and start glyphmoor.exe; its
#                                        files live beside it, the samples too
#   Glyphmoor-<version>-win64-setup.exe  the installer (NSIS, from
#                                        packaging/windows/NSIS.template.in):
#                                        per user, without administrator
#                                        rights, a Start-menu entry for the
#                                        launcher
#
#   glyphmoor.exe, glyphmoor-data.exe    the programs
#   Qt6*.dll, platforms/, styles/        Qt, and the plugins without which no
#                                        window opens or looks native
#   lib*.dll                             the compiler's runtime
#   runes.dat, items.dat, runewords.dat  the sample reference data
#   README.txt, LICENSE.txt

install(TARGETS glyphmoor glyphmoor-data RUNTIME DESTINATION .)
if(TARGET glyphmoor-launcher)
  install(TARGETS glyphmoor-launcher RUNTIME DESTINATION .)
endif()
install(FILES ${PROJECT_BINARY_DIR}/data/runes.dat ${PROJECT_BINARY_DIR}/data/items.dat
              ${PROJECT_BINARY_DIR}/data/runewords.dat DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

# Qt for MinGW has no windeployqt: the DLLs are named here. Qt looks for its
# plugins in folders beside the program.
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT qt_core_dll)
  get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION)
endif()
get_filename_component(qt_bin_dir ${qt_core_dll} DIRECTORY)
get_filename_component(qt_prefix ${qt_bin_dir} DIRECTORY)
install(FILES ${qt_bin_dir}/Qt6Core.dll ${qt_bin_dir}/Qt6Gui.dll ${qt_bin_dir}/Qt6Widgets.dll DESTINATION .)
install(FILES ${qt_prefix}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${qt_prefix}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll OUTPUT_VARIABLE libstdcxx_dll
                OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_seh-1.dll OUTPUT_VARIABLE libgcc_dll
                OUTPUT_STRIP_TRAILING_WHITESPACE)
find_file(winpthread_dll libwinpthread-1.dll PATHS ${CMAKE_FIND_ROOT_PATH}/lib ${CMAKE_FIND_ROOT_PATH}/bin
          NO_DEFAULT_PATH REQUIRED)
# Debian ships them with their debugging information, 20 of their 24 MB.
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/runtime)
foreach(dll IN ITEMS ${libstdcxx_dll} ${libgcc_dll} ${winpthread_dll})
  get_filename_component(name ${dll} NAME)
  execute_process(COMMAND ${CMAKE_STRIP} --strip-debug -o ${PROJECT_BINARY_DIR}/runtime/${name} ${dll}
                  COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${PROJECT_BINARY_DIR}/runtime/${name} DESTINATION .)
endforeach()

set(CPACK_PACKAGE_NAME Glyphmoor)
set(CPACK_PACKAGE_VENDOR "Glyphmoor developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "runeword finder for socketing runes into items")
set(CPACK_PACKAGE_FILE_NAME Glyphmoor-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Glyphmoor)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_STRIP_FILES ON)
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging/windows) # our NSIS.template.in
set(CPACK_NSIS_MUI_ICON ${PROJECT_BINARY_DIR}/src/app/glyphmoor.ico)
# The installer's name says what it is beside the zip.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackWindows.cmake)
file(WRITE ${CPACK_PROJECT_CONFIG_FILE}
     "if(CPACK_GENERATOR STREQUAL NSIS)\n  set(CPACK_PACKAGE_FILE_NAME \"\${CPACK_PACKAGE_FILE_NAME}-setup\")\nendif()\n")
include(CPack)

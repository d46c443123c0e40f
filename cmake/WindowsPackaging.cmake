# Windows: `cpack` in the build folder writes a zip and an NSIS installer of
# what `cmake --install` installs: the program, the DLLs it loads (found by
# CMake's own reading of the import tables), the Qt plugins it needs, the
# licence and a short README.
set(CPACK_PACKAGE_FILE_NAME "trelvano-${PROJECT_VERSION}-win64")
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Trelvano")
# Start-menu entry: the program under the name users know.
set(CPACK_PACKAGE_EXECUTABLES "trelvano;Trelvano")
set(CPACK_NSIS_DISPLAY_NAME "Trelvano")
# Also the Start-menu folder's name.
set(CPACK_NSIS_PACKAGE_NAME "Trelvano")
# The program sits at the top of the installed folder, not in bin/.
set(CPACK_NSIS_EXECUTABLES_DIRECTORY ".")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/packaging/icons/trelvano.ico")
set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/packaging/icons/trelvano.ico")
set(CPACK_NSIS_INSTALLED_ICON_NAME "trelvano.exe")
# CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL stays off: its question aborts a
# silent install (a lab's deployment, setup.exe /S); a new version simply
# overwrites the old.

# A 64-bit installer: NSIS's default 32-bit stub needs a 32-bit layer that a
# 64-bit-only Windows (or Wine) may not have.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_CURRENT_LIST_DIR}/WindowsPackageNames.cmake")

# The MinGW runtime, FFTW and SLEEF DLLs are found by CMake's reading of the
# import tables, in the runtime's folder and the libraries' prefixes; Windows'
# own DLLs are never shipped. Qt's DLLs are named by their targets instead:
# the reading lowercases every name, which finds no Qt6Core.dll on a
# case-sensitive disk.
set(TRELVANO_DLL_DIRS ${TRELVANO_WINDOWS_DLL_DIRS})
foreach(prefix IN LISTS CMAKE_PREFIX_PATH)
  list(APPEND TRELVANO_DLL_DIRS "${prefix}/bin")
endforeach()
# The import tables are read at install time with MinGW's objdump, whatever
# system the install runs on.
install(CODE "
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND \"${CMAKE_OBJDUMP}\")")
install(RUNTIME_DEPENDENCY_SET trelvano_dlls
  DESTINATION .
  DIRECTORIES ${TRELVANO_DLL_DIRS}
  PRE_INCLUDE_REGEXES "^lib" "^fftw" "^sleef"
  PRE_EXCLUDE_REGEXES ".*")
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets> DESTINATION .)
# Without the windows platform plugin Qt cannot open a window at all; the
# style plugin gives the buttons and boxes Windows' own look.
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
if(TARGET Qt6::QWindowsVistaStylePlugin)
  install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
# Qt's DLLs are shipped under the LGPL, whose text goes beside them (Debian
# keeps it with every system's base files).
if(EXISTS /usr/share/common-licenses/LGPL-3)
  install(FILES /usr/share/common-licenses/LGPL-3 DESTINATION . RENAME LICENSE.LGPL-3.txt)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt DESTINATION .)

# MinGW's runtime DLLs come with their debugging sections: stripped, the
# download is a third of the size.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    file(GLOB_RECURSE dlls \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.dll\")
    execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \${dlls} COMMAND_ERROR_IS_FATAL ANY)
  endif()")

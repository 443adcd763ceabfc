# The Windows program: a window without a console, a portable folder with everything it
# needs beside it (the kit has no windeployqt, so the DLLs and plugins are copied), and the
# two packages in dist/.
set_target_properties(Pelmaris PROPERTIES WIN32_EXECUTABLE ON)
# Qt's entry point turns WinMain into main().
target_link_libraries(Pelmaris PRIVATE Qt6::EntryPointPrivate)

set(PELMARIS_DIST_DIR ${PROJECT_SOURCE_DIR}/dist CACHE PATH "Where the Windows packages go")
set(portable_root ${CMAKE_BINARY_DIR}/portable)
set(portable ${portable_root}/Pelmaris)
set(qt_bin ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS})
set(qt_plugins ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})
set(mingw_runtime
  /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libstdc++-6.dll
  /usr/lib/gcc/x86_64-w64-mingw32/12-posix/libgcc_s_seh-1.dll
  /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll)
set(qt_dlls Core Gui Widgets Concurrent)
list(TRANSFORM qt_dlls PREPEND ${qt_bin}/Qt6)
list(TRANSFORM qt_dlls APPEND .dll)
# The image formats the program reads; the rest of the kit's plugins are not used.
set(image_plugins qjpeg qgif qico qtiff qwebp qtga qwbmp)
list(TRANSFORM image_plugins PREPEND ${qt_plugins}/imageformats/)
list(TRANSFORM image_plugins APPEND .dll)

# Qt's Japanese catalogue for the standard boxes and dialogs (the kit has none; the
# catalogue is the same file on every system), found through qt.conf beside the program,
# which also keeps the plugins' folders where they are.
set(qt_japanese /usr/share/qt6/translations/qtbase_ja.qm)
file(WRITE ${CMAKE_BINARY_DIR}/qt.conf "[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n")

add_custom_target(pelmaris_portable
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${portable}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${portable}/platforms ${portable}/styles
          ${portable}/imageformats ${portable}/translations
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Pelmaris> ${CMAKE_BINARY_DIR}/qt.conf
          ${portable}/
  COMMAND ${CMAKE_COMMAND} -E copy ${qt_japanese} ${portable}/translations/
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/help/Pelmaris.html ${portable}/
  COMMAND ${CMAKE_COMMAND} -E copy ${qt_dlls} ${mingw_runtime} ${portable}/
  COMMAND ${CMAKE_COMMAND} -E copy ${qt_plugins}/platforms/qwindows.dll
          ${qt_plugins}/platforms/qoffscreen.dll ${portable}/platforms/
  COMMAND ${CMAKE_COMMAND} -E copy ${qt_plugins}/styles/qwindowsvistastyle.dll ${portable}/styles/
  COMMAND ${CMAKE_COMMAND} -E copy ${image_plugins} ${portable}/imageformats/
  COMMAND ${CMAKE_OBJCOPY} --strip-debug ${portable}/Pelmaris.exe
  DEPENDS Pelmaris
  VERBATIM)

set(zip ${PELMARIS_DIST_DIR}/Pelmaris-${PROJECT_VERSION}-win64.zip)
add_custom_target(pelmaris_zip
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PELMARIS_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip Pelmaris
  WORKING_DIRECTORY ${portable_root}
  DEPENDS pelmaris_portable
  VERBATIM)

find_program(MAKENSIS makensis)
set(setup ${PELMARIS_DIST_DIR}/Pelmaris-${PROJECT_VERSION}-setup.exe)
add_custom_target(pelmaris_setup
  COMMAND ${CMAKE_COMMAND} -DPORTABLE=${portable} -DOUT=${CMAKE_BINARY_DIR}/nsis
          -P ${PROJECT_SOURCE_DIR}/packaging/windows/filelist.cmake
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PELMARIS_DIST_DIR}
  COMMAND ${MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DOUTFILE=${setup}
          -DFILELIST=${CMAKE_BINARY_DIR}/nsis/install.nsh
          -DUNFILELIST=${CMAKE_BINARY_DIR}/nsis/uninstall.nsh
          ${PROJECT_SOURCE_DIR}/packaging/windows/pelmaris.nsi
  DEPENDS pelmaris_portable
  VERBATIM)
add_custom_target(pelmaris_packages DEPENDS pelmaris_zip pelmaris_setup)

# The tests run under Wine, all in one prefix of this build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${CMAKE_BINARY_DIR})

# cmake --install: the programs to bindir (kindrel pack finds the viewer parts beside it), the
# desktop entry, the MIME type and the icons under share/, one id for all of them. Without
# DESTDIR the desktop's caches are brought up to date when their tools are present.
include(GNUInstallDirs)

set(KINDREL_APP_ID org.example.Kindrel)
set(KINDREL_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/desktop)

install(TARGETS kindrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(KINDREL_BUILD_GUI)
  install(TARGETS kindrel-viewer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(TARGET kindrel-runtime)
    install(PROGRAMS ${CMAKE_BINARY_DIR}/bin/kindrel-portable ${CMAKE_BINARY_DIR}/bin/kindrel-plain
            DESTINATION ${CMAKE_INSTALL_BINDIR} OPTIONAL)
  endif()
  # The installed entry names the viewer by its full path (KindrelInstallEntry.cmake), known
  # only when installing (--prefix).
  install(CODE "
    set(KINDREL_ENTRY_SOURCE \"${KINDREL_DESKTOP_DIR}/${KINDREL_APP_ID}.desktop\")
    set(KINDREL_ENTRY_STAGED \"${CMAKE_BINARY_DIR}/installed/${KINDREL_APP_ID}.desktop\")
    set(KINDREL_ENTRY_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
    set(KINDREL_ENTRY_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
  ")
  install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/KindrelInstallEntry.cmake)
  install(FILES ${KINDREL_DESKTOP_DIR}/${KINDREL_APP_ID}.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES ${KINDREL_DESKTOP_DIR}/icons/${KINDREL_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 48 128 256)
    install(FILES ${KINDREL_DESKTOP_DIR}/icons/${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${KINDREL_APP_ID}.png)
  endforeach()
  install(CODE "
    if(NOT \"\$ENV{DESTDIR}\" STREQUAL \"\")
      return()
    endif()
    set(share \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}\")
    find_program(KINDREL_UPDATE_MIME update-mime-database)
    find_program(KINDREL_UPDATE_DESKTOP update-desktop-database)
    find_program(KINDREL_UPDATE_ICONS gtk-update-icon-cache)
    if(KINDREL_UPDATE_MIME)
      execute_process(COMMAND \${KINDREL_UPDATE_MIME} \"\${share}/mime\")
    endif()
    if(KINDREL_UPDATE_DESKTOP)
      execute_process(COMMAND \${KINDREL_UPDATE_DESKTOP} \"\${share}/applications\")
    endif()
    if(KINDREL_UPDATE_ICONS AND EXISTS \"\${share}/icons/hicolor/index.theme\")
      execute_process(COMMAND \${KINDREL_UPDATE_ICONS} -q -t -f \"\${share}/icons/hicolor\")
    endif()
  ")
endif()

# What `cmake --install` puts in place, and the Debian package made from it
# (`cpack -G DEB` in the build folder).
include(GNUInstallDirs)

set(lumrun_programs "")
foreach(program lumrun lumf lumscript)
  if(TARGET ${program})
    list(APPEND lumrun_programs ${program})
  endif()
endforeach()
install(TARGETS ${lumrun_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# lumscript's game mode, which lumscript runs from there.
if(TARGET lumscript-game)
  install(TARGETS lumscript-game RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/lumrun)
endif()

install(FILES ${PROJECT_SOURCE_DIR}/dist/lumrun.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/dist/lumrun.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The pages carry the version, filled in here.
foreach(page lumrun lumf lumscript)
  set(VERSION ${PROJECT_VERSION})
  configure_file(${PROJECT_SOURCE_DIR}/dist/man/${page}.1 ${PROJECT_BINARY_DIR}/man/${page}.1 @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/man/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

set(CPACK_PACKAGE_NAME lumrun)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "lumrun developers <lumrun@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Runner for games made with the Lumforge authoring tool")
set(CPACK_PACKAGE_DESCRIPTION
    "Plays Lumforge game files on Linux in a window or headless, with the lumf and lumscript tools.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The library packages the programs link with, found from the binaries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)

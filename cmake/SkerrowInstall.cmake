# Install layout, desktop integration and the .deb: `cmake --install build [--prefix P]` puts
# the programs in P/bin, the content pack in P/share/skerrow/gdata, the desktop entry, icons,
# AppStream metainfo and man page in their usual places below P/share; `cpack -G DEB` (run in
# the build directory) packs the same tree for /usr.
include(GNUInstallDirs)

# The game looks for its data beside itself, then in <exe>/../share/skerrow, then here.
target_compile_definitions(skerrow_shell PRIVATE
  SKERROW_INSTALLED_DATA_DIR="${CMAKE_INSTALL_FULL_DATADIR}/skerrow")
# Function names in the crash report's backtrace.
set_target_properties(skerrow PROPERTIES ENABLE_EXPORTS ON)

set(SKERROW_APP_ID org.skerrow.Skerrow)
install(TARGETS skerrow RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(tool skerrow-asset skerrow-content)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
install(FILES packaging/${SKERROW_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/${SKERROW_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/skerrow.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

if(TARGET skerrow_content_pack)
  # The pack generated at build time (the build's own gdata), less the saves of games run from
  # the build directory.
  install(DIRECTORY ${CMAKE_BINARY_DIR}/gdata DESTINATION ${CMAKE_INSTALL_DATADIR}/skerrow
          PATTERN savegame EXCLUDE)
  # The icons: a second, quick run of the generator (--icons) into <build>/icons/hicolor.
  set(icon_stamp ${CMAKE_BINARY_DIR}/icons.stamp)
  add_custom_command(
    OUTPUT ${icon_stamp}
    COMMAND $<TARGET_FILE:skerrow-content> --icons ${CMAKE_BINARY_DIR}/icons/hicolor
    COMMAND ${CMAKE_COMMAND} -E touch ${icon_stamp}
    DEPENDS skerrow-content
    COMMENT "Drawing the desktop icons into ${CMAKE_BINARY_DIR}/icons"
    VERBATIM)
  add_custom_target(skerrow_icons ALL DEPENDS ${icon_stamp})
  install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

# cpack -G DEB: Depends from the programs' shared libraries (dpkg-shlibdeps).
set(CPACK_PACKAGE_NAME skerrow)
set(CPACK_PACKAGE_VENDOR "Skerrow developers")
set(CPACK_PACKAGE_CONTACT "Skerrow developers <skerrow@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D naval action game with a level editor")
# One string: the lines of a list would reach the control file with ';' between them.
set(CPACK_PACKAGE_DESCRIPTION "Command a ship among islands and shore defences: fight enemy \
ships, forts and bosses, collect coins and bonuses, upgrade the ship and sail from level to \
level. Comes with a free content pack generated from code and a built-in level editor.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL opens libGL.so.1 (GLX) at run time, which no program links, so dpkg-shlibdeps cannot see it;
# CPack adds the computed list after this one.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The sound device and the software GL driver are loaded at run time, not linked; the level
# editor's window reads DejaVu Sans for its Cyrillic letters (without it, Latin only).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri, libopenal1, fonts-dejavu-core")
set(CPACK_GENERATOR DEB)
include(CPack)

# The shell tests install the build into a scratch prefix and run the game from there.
if(TARGET shell_tests AND TARGET skerrow_icons)
  add_dependencies(shell_tests skerrow_game skerrow_icons skerrow-asset)
endif()

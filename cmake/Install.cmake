# The staged game folder, the install and the .deb. Included last, once every target named in
# PIKORA_EXECUTABLES exists.

# ---- The staged game folder (build/game): what scripts/play runs and the tests copy ----------
set(stage_copies "")
foreach(exe ${PIKORA_EXECUTABLES})
  list(APPEND stage_copies COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${exe}> ${PIKORA_GAME_DIR}/)
endforeach()
add_custom_target(stage ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PIKORA_GAME_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data ${PIKORA_GAME_DIR}
  ${stage_copies}
  DEPENDS ${PIKORA_EXECUTABLES}
  COMMENT "Staging the game folder")

# ---- cmake --install: the executables where Debian puts games, the data read-only beside ------
# An installed game runs in the player's own folder, filled from this data (src/app/GameFolder.cpp).
include(GNUInstallDirs)
set(PIKORA_INSTALL_BINDIR games CACHE STRING "Folder of the installed executables, under the prefix")
set(PIKORA_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/pikora)
file(RELATIVE_PATH data_from_bin /${PIKORA_INSTALL_BINDIR} /${PIKORA_INSTALL_DATADIR})
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/app/GameFolder.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS PIKORA_INSTALLED_DATA="${data_from_bin}")

set(PIKORA_APP_ID hr.pikora.Pikora)
install(TARGETS ${PIKORA_EXECUTABLES} RUNTIME DESTINATION ${PIKORA_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${PIKORA_INSTALL_DATADIR})
install(FILES ${CMAKE_SOURCE_DIR}/dist/${PIKORA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/dist/${PIKORA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/dist/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# ---- The .deb: cpack -G DEB in the build folder; dependencies from dpkg-shlibdeps -------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pikora)
set(CPACK_PACKAGE_VENDOR "Pikora contributors")
set(CPACK_PACKAGE_CONTACT "Pikora contributors <pikora@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find-the-five-differences picture game")
set(CPACK_PACKAGE_DESCRIPTION "Two pictures, an original and a modified copy: click the five places
where they differ before the time bar runs out. Levels come in picture packs,
each keeping its ten best results. The interface is in Croatian.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The music player opens FFmpeg at run time, so dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libavformat59, libavcodec59, libswresample4, libavutil57")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)

# ---- Tests of the install (label install) -------------------------------------------------------
# They run the installed executables, sanitized ones too: those need the test programs' leak
# suppressions for the system libraries' lasting caches.
if(PIKORA_SANITIZE)
  foreach(exe ${PIKORA_EXECUTABLES})
    target_sources(${exe} PRIVATE ${CMAKE_SOURCE_DIR}/tests/sanitizer/LeakSuppressions.cpp)
  endforeach()
endif()
if(TARGET test_install)
  target_compile_definitions(test_install PRIVATE
    PIKORA_BUILD_DIR="${CMAKE_BINARY_DIR}" PIKORA_CMAKE="${CMAKE_COMMAND}"
    PIKORA_INSTALLED_GAME="${PIKORA_INSTALL_BINDIR}/pikora" PIKORA_INSTALLED_DATA_DIR="${PIKORA_INSTALL_DATADIR}")
  gtest_discover_tests(test_install
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS e2e-install TIMEOUT 300 ENVIRONMENT "SDL_AUDIODRIVER=dummy")
endif()
add_test(NAME install.desktop-entry COMMAND desktop-file-validate ${CMAKE_SOURCE_DIR}/dist/${PIKORA_APP_ID}.desktop)
add_test(NAME install.metainfo
  COMMAND appstreamcli validate --no-net ${CMAKE_SOURCE_DIR}/dist/${PIKORA_APP_ID}.metainfo.xml)
# Slow and end-to-end, so quick runs (-LE e2e) leave them out; `ctest -L install` picks them.
set_tests_properties(install.desktop-entry install.metainfo PROPERTIES LABELS e2e-install)

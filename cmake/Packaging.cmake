# The Debian package ondrix-configuratore: `cmake --build build --target package`.
#
#   /opt/ondrix-configuratore/   the programs with Stringhe.txt beside them (the
#                                configurator looks for it in its own folder)
#   /usr/bin/                    links to the two window programs
#   /usr/share/applications/     desktop entries; icons under /usr/share/icons
#
# Destinations are relative to the packaging prefix "/", so the same rules
# serve `cmake --install build --prefix /some/root`.

set(ONDRIX_PKG_DIR opt/ondrix-configuratore)
set(ONDRIX_PKG_ROOT /${ONDRIX_PKG_DIR})
set(ONDRIX_RES ${PROJECT_SOURCE_DIR}/resources)

foreach(program ondrix-configuratore ondrix-configuratore-demo Uninstall)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${ONDRIX_PKG_DIR})
  endif()
endforeach()

file(GLOB ONDRIX_PKG_SCENARIOS ${ONDRIX_RES}/*.scenario)
install(FILES ${ONDRIX_RES}/Stringhe.txt ${ONDRIX_RES}/Stringhe-en.txt ${ONDRIX_PKG_SCENARIOS}
        DESTINATION ${ONDRIX_PKG_DIR})

# /usr/bin links: absolute, since they lead into another top-level folder.
# Made in the build tree and installed as links.
set(ONDRIX_LINK_DIR ${CMAKE_BINARY_DIR}/package-links)
file(MAKE_DIRECTORY ${ONDRIX_LINK_DIR})
foreach(program ondrix-configuratore ondrix-configuratore-demo)
  if(TARGET ${program})
    file(CREATE_LINK ${ONDRIX_PKG_ROOT}/${program} ${ONDRIX_LINK_DIR}/${program} SYMBOLIC)
    install(FILES ${ONDRIX_LINK_DIR}/${program} DESTINATION usr/bin)
    install(FILES ${ONDRIX_RES}/${program}.desktop DESTINATION usr/share/applications)
  endif()
endforeach()
if(TARGET Uninstall)
  install(FILES ${ONDRIX_RES}/ondrix-configuratore-uninstall.desktop
          DESTINATION usr/share/applications)
endif()
install(FILES ${ONDRIX_RES}/ondrix-configuratore.svg DESTINATION usr/share/icons/hicolor/scalable/apps)
install(FILES ${ONDRIX_RES}/ondrix-configuratore.png DESTINATION usr/share/icons/hicolor/48x48/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ondrix-configuratore)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ondrix")
set(CPACK_PACKAGE_CONTACT "ondrix service <service@ondrix.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Service and configuration tool for the ondrix valve island")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Service and configuration tool for the ondrix valve island
Finds the island on serial ports 1 to 16, reads and shows its configuration,
switches valves, coils, relax, addresses, termination and baud rate, and saves
and loads configuration files. Includes a demo on a simulated island and the
Uninstall program.")
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # ondrix-configuratore_1.2.7_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt libraries from the programs' links; the window also needs Qt's
# platform plugins, which no library link names.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Uninstall hands the removal to the desktop's terminal.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "x-terminal-emulator")
set(CPACK_STRIP_FILES ON)
include(CPack)

if(ONDRIX_TESTS)
  add_test(NAME package_contents
           COMMAND sh ${PROJECT_SOURCE_DIR}/tests/package/check-package.sh
                   ${CMAKE_BINARY_DIR} ${PROJECT_SOURCE_DIR})
  set_tests_properties(package_contents PROPERTIES LABELS integration TIMEOUT 600)
endif()

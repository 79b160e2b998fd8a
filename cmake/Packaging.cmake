# The Debian package ondrix-configuratore: `cmake --build build --target package`.
#
#   /usr/lib/ondrix-configuratore/   the programs, with Stringhe.txt and
#                                    Stringhe-en.txt beside them as links into
#                                    /etc (the configurator reads the file
#                                    beside itself)
#   /etc/ondrix-configuratore/       Stringhe.txt and Stringhe-en.txt, conffiles:
#                                    a technician's edits survive upgrades
#   /usr/bin/                        links to the two window programs, and the
#                                    island simulator
#   /usr/share/applications/         desktop entries; icons under /usr/share/icons
#   /usr/share/man/man1/             manual pages
#   /usr/share/doc/ondrix-configuratore/   copyright, changelog
#
# Destinations are relative to the packaging prefix "/", so the same rules
# serve `cmake --install build --prefix /some/root`.

set(ONDRIX_PKG_DIR usr/lib/ondrix-configuratore)
set(ONDRIX_ETC_DIR etc/ondrix-configuratore)
set(ONDRIX_DOC_DIR usr/share/doc/ondrix-configuratore)
set(ONDRIX_RES ${PROJECT_SOURCE_DIR}/resources)
set(ONDRIX_PKG_BUILD ${CMAKE_BINARY_DIR}/package-files)
file(MAKE_DIRECTORY ${ONDRIX_PKG_BUILD})

install(TARGETS ondrix-configuratore ondrix-configuratore-demo Uninstall
        RUNTIME DESTINATION ${ONDRIX_PKG_DIR})
install(TARGETS ondrix-simulatore RUNTIME DESTINATION usr/bin)

# Links, made in the build tree and installed as links: absolute where they
# lead into another top-level folder (/etc), relative inside /usr.
function(ondrix_link target name destination)
  set(dir ${ONDRIX_PKG_BUILD}/links/${destination})
  file(MAKE_DIRECTORY ${dir})
  file(CREATE_LINK ${target} ${dir}/${name} SYMBOLIC)
  install(FILES ${dir}/${name} DESTINATION ${destination})
endfunction()

foreach(testi Stringhe.txt Stringhe-en.txt)
  install(FILES ${ONDRIX_RES}/${testi} DESTINATION ${ONDRIX_ETC_DIR})
  ondrix_link(/${ONDRIX_ETC_DIR}/${testi} ${testi} ${ONDRIX_PKG_DIR})
endforeach()
file(WRITE ${ONDRIX_PKG_BUILD}/conffiles
     "/${ONDRIX_ETC_DIR}/Stringhe.txt\n/${ONDRIX_ETC_DIR}/Stringhe-en.txt\n")

foreach(program ondrix-configuratore ondrix-configuratore-demo)
  ondrix_link(../lib/ondrix-configuratore/${program} ${program} usr/bin)
endforeach()
install(FILES ${ONDRIX_RES}/ondrix-configuratore.desktop
              ${ONDRIX_RES}/ondrix-configuratore-demo.desktop
              ${ONDRIX_RES}/ondrix-configuratore-uninstall.desktop
        DESTINATION usr/share/applications)
install(FILES ${ONDRIX_RES}/ondrix-configuratore.svg DESTINATION usr/share/icons/hicolor/scalable/apps)
install(FILES ${ONDRIX_RES}/ondrix-configuratore.png DESTINATION usr/share/icons/hicolor/48x48/apps)

# Manual pages and the changelog, with the project's version written into
# their headings (the changelog's newest entry; older entries keep their own),
# then compressed as Debian wants them: at the highest level and without a
# time stamp, so that builds are reproducible.
function(ondrix_gzip source name destination)
  configure_file(${source} ${ONDRIX_PKG_BUILD}/${name} @ONLY)
  execute_process(COMMAND gzip -9nc ${ONDRIX_PKG_BUILD}/${name} OUTPUT_FILE ${ONDRIX_PKG_BUILD}/${name}.gz
                  RESULT_VARIABLE rc)
  if(rc)
    message(FATAL_ERROR "gzip ${source}: ${rc}")
  endif()
  install(FILES ${ONDRIX_PKG_BUILD}/${name}.gz DESTINATION ${destination})
endfunction()

foreach(page ondrix-configuratore ondrix-configuratore-demo ondrix-simulatore)
  ondrix_gzip(${ONDRIX_RES}/man/${page}.1.in ${page}.1 usr/share/man/man1)
endforeach()
ondrix_gzip(${ONDRIX_RES}/debian/changelog.in changelog ${ONDRIX_DOC_DIR})
install(FILES ${ONDRIX_RES}/debian/copyright DESTINATION ${ONDRIX_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ondrix-configuratore)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ondrix")
set(CPACK_PACKAGE_CONTACT "ondrix service <service@ondrix.invalid>")
# The synopsis (CPack puts it first), then the long description, which does
# not repeat it.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "service and configuration tool for the ondrix valve island")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "The configurator finds the island on serial ports 1 to 16, reads and shows
its configuration, switches valves, coils, relax, addresses, termination and
baud rate, and saves and loads configuration files.
.
The package also holds a demo of the configurator on a simulated island, the
island simulator on a pseudo-terminal (ondrix-simulatore) for training
without hardware, and the Uninstall program.")
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # ondrix-configuratore_1.2.7_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt libraries from the programs' links; the window also needs Qt's
# platform plugins, which no library link names.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Uninstall hands the removal to the desktop's terminal; the toolkit's own
# buttons ("Sì"/"No") follow the user's language with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "x-terminal-emulator, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${ONDRIX_PKG_BUILD}/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)

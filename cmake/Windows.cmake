# The Windows programs' folder: the programs with the Qt libraries, the
# plugins they load, the compiler's runtime and the text resources beside
# them, as a Windows program finds them (its own folder first).
#
#   cmake --install build-windows --prefix <folder>   lays the folder out
#
# The build's bin/ gets the same libraries at configure time, so the programs
# and the test programs run from there too (under Wine when cross-built).

set(ONDRIX_RES ${PROJECT_SOURCE_DIR}/resources)

foreach(program ondrix-configuratore ondrix-configuratore-demo Uninstall)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION .)
  endif()
endforeach()
install(FILES ${ONDRIX_RES}/Stringhe.txt ${ONDRIX_RES}/Stringhe-en.txt DESTINATION .)
configure_file(${ONDRIX_RES}/Stringhe-en.txt ${CMAKE_BINARY_DIR}/bin/Stringhe-en.txt COPYONLY)

# The file an imported Qt target stands for, whatever configuration it was built in.
function(ondrix_imported_file target out)
  foreach(prop IMPORTED_LOCATION_RELEASE IMPORTED_LOCATION_RELWITHDEBINFO IMPORTED_LOCATION)
    get_target_property(loc ${target} ${prop})
    if(loc)
      set(${out} ${loc} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  message(FATAL_ERROR "no file for ${target}")
endfunction()

set(ONDRIX_WINDOWS_DLLS)
foreach(module Core Gui Widgets SerialPort)
  ondrix_imported_file(Qt6::${module} dll)
  list(APPEND ONDRIX_WINDOWS_DLLS ${dll})
endforeach()

# The compiler's runtime: the Qt libraries need it as much as the programs do.
foreach(lib libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${lib}
                  OUTPUT_VARIABLE dll OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${dll}" OR NOT EXISTS "${dll}")
    # libwinpthread lives with the target's libraries, not the compiler's.
    find_file(dll_${lib} ${lib} PATHS /usr/${CMAKE_CXX_COMPILER_TARGET} /usr/x86_64-w64-mingw32
              PATH_SUFFIXES lib bin NO_CACHE REQUIRED)
    set(dll ${dll_${lib}})
  endif()
  list(APPEND ONDRIX_WINDOWS_DLLS ${dll})
endforeach()
install(FILES ${ONDRIX_WINDOWS_DLLS} DESTINATION .)
file(COPY ${ONDRIX_WINDOWS_DLLS} DESTINATION ${CMAKE_BINARY_DIR}/bin)

# Plugins, in the folders Qt looks for beside the program: the windows
# platform and the native style for the programs; the offscreen platform only
# for the tests in the build tree.
set(ONDRIX_WINDOWS_PLUGINS
    platforms Qt6::QWindowsIntegrationPlugin
    styles Qt6::QWindowsVistaStylePlugin)
list(LENGTH ONDRIX_WINDOWS_PLUGINS n)
math(EXPR last "${n} - 1")
foreach(i RANGE 0 ${last} 2)
  math(EXPR j "${i} + 1")
  list(GET ONDRIX_WINDOWS_PLUGINS ${i} folder)
  list(GET ONDRIX_WINDOWS_PLUGINS ${j} plugin)
  ondrix_imported_file(${plugin} dll)
  install(FILES ${dll} DESTINATION ${folder})
  file(COPY ${dll} DESTINATION ${CMAKE_BINARY_DIR}/bin/${folder})
endforeach()
if(ONDRIX_TESTS AND TARGET Qt6::QOffscreenIntegrationPlugin)
  ondrix_imported_file(Qt6::QOffscreenIntegrationPlugin dll)
  file(COPY ${dll} DESTINATION ${CMAKE_BINARY_DIR}/bin/platforms)
endif()

# The window's font (the captions are sized to its metrics), with its licence.
foreach(font DejaVuSans.ttf DejaVuSans-Bold.ttf)
  find_file(ONDRIX_FONT_${font} ${font} PATHS /usr/share/fonts/truetype/dejavu
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  install(FILES ${ONDRIX_FONT_${font}} DESTINATION fonts)
  file(COPY ${ONDRIX_FONT_${font}} DESTINATION ${CMAKE_BINARY_DIR}/bin/fonts)
endforeach()
install(FILES /usr/share/doc/fonts-dejavu-core/copyright DESTINATION fonts RENAME DejaVu-LICENSE.txt)

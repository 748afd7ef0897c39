# The Windows game: one skarvold.exe linked statically (it imports only Windows' own DLLs),
# a windowed program without a console, carrying the game's icon and its version; and the zip
# a player downloads (target skarvold_zip):
#   skarvold-<version>-windows-x86_64/  skarvold.exe, Data/, licenses/, README.txt
#
# SKARVOLD_DATA_DIR is the Data folder of a native build (scripts/native-data.sh); the icon
# is made from the PNG icons the same generator run drew beside it (SKARVOLD_ICON_DIR).

set(SKARVOLD_ICON_DIR "${SKARVOLD_DATA_DIR}/../Icons/hicolor" CACHE PATH
  "The hicolor icon folder a native build drew beside its Data folder")
set(icon_sizes 16 24 32 48 64 128 256)
set(icon_pngs)
foreach(size IN LISTS icon_sizes)
  set(png "${SKARVOLD_ICON_DIR}/${size}x${size}/apps/skarvold.png")
  if(NOT EXISTS "${png}")
    message(FATAL_ERROR "No ${size}x${size} icon at ${png}: SKARVOLD_ICON_DIR must name the "
      "hicolor folder of the native build that made SKARVOLD_DATA_DIR")
  endif()
  list(APPEND icon_pngs "${png}")
endforeach()

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(SKARVOLD_ICO "${CMAKE_BINARY_DIR}/skarvold.ico")
add_custom_command(OUTPUT "${SKARVOLD_ICO}"
  COMMAND Python3::Interpreter "${CMAKE_SOURCE_DIR}/packaging/windows/make-ico.py"
    "${SKARVOLD_ICO}" ${icon_pngs}
  DEPENDS "${CMAKE_SOURCE_DIR}/packaging/windows/make-ico.py" ${icon_pngs}
  COMMENT "Packing the icon into skarvold.ico")
configure_file(packaging/windows/skarvold.rc.in "${CMAKE_BINARY_DIR}/skarvold.rc" @ONLY)
target_sources(skarvold PRIVATE "${CMAKE_BINARY_DIR}/skarvold.rc")
set_source_files_properties("${CMAKE_BINARY_DIR}/skarvold.rc" PROPERTIES
  OBJECT_DEPENDS "${SKARVOLD_ICO}")

# The multimedia timer gives the game's clock its millisecond (app/Platform.cpp).
target_link_libraries(skarvold_game PUBLIC winmm)
# No runtime DLLs of GCC or mingw-w64 beside the .exe, no console window, symbols stripped.
target_link_options(skarvold PRIVATE -static -static-libgcc -static-libstdc++ -mwindows -s)

# The data set beside the .exe, so that the build folder runs as the unpacked zip does.
add_custom_target(skarvold_windows_data ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory "${SKARVOLD_DATA_DIR}" "${CMAKE_BINARY_DIR}/Data"
  COMMENT "Copying the data set beside skarvold.exe")

# The licence texts of everything linked into the .exe, and of the fonts in the data set.
find_file(SKARVOLD_LIBRARY_LICENSES licenses PATHS ${CMAKE_PREFIX_PATH} PATH_SUFFIXES share
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(runtime_licences
  "gcc-runtime/copyright=/usr/share/doc/gcc-mingw-w64-base/copyright"
  "gcc-runtime/GPL-3=/usr/share/common-licenses/GPL-3"
  "mingw-w64/copyright=/usr/share/doc/mingw-w64-x86-64-dev/copyright"
  "fonts-open-sans/copyright=/usr/share/doc/fonts-open-sans/copyright"
  "fonts-open-sans/Apache-2.0=/usr/share/common-licenses/Apache-2.0")

set(zip_name "skarvold-${PROJECT_VERSION}-windows-x86_64")
set(stage "${CMAKE_BINARY_DIR}/zip/${zip_name}")
configure_file(packaging/windows/README.txt.in "${CMAKE_BINARY_DIR}/README.txt" @ONLY
  NEWLINE_STYLE CRLF)
set(copy_licences)
foreach(pair IN LISTS runtime_licences)
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 to)
  list(GET pair 1 from)
  if(NOT EXISTS "${from}")
    message(FATAL_ERROR "The licence text ${from} is missing (its Debian package is not installed)")
  endif()
  list(APPEND copy_licences COMMAND ${CMAKE_COMMAND} -E copy "${from}" "${stage}/licenses/${to}")
endforeach()
# Packed afresh whenever asked for: the data set may have changed without the .exe.
add_custom_target(skarvold_zip
  COMMAND ${CMAKE_COMMAND} -E rm -rf "${CMAKE_BINARY_DIR}/zip"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${stage}/licenses"
  COMMAND ${CMAKE_COMMAND} -E copy "$<TARGET_FILE:skarvold>" "${CMAKE_BINARY_DIR}/README.txt" "${stage}/"
  COMMAND ${CMAKE_COMMAND} -E copy_directory "${SKARVOLD_DATA_DIR}" "${stage}/Data"
  COMMAND ${CMAKE_COMMAND} -E copy_directory "${SKARVOLD_LIBRARY_LICENSES}" "${stage}/licenses"
  ${copy_licences}
  COMMAND ${CMAKE_COMMAND} -E rm -f "${CMAKE_BINARY_DIR}/${zip_name}.zip"
  COMMAND ${CMAKE_COMMAND} -E chdir "${CMAKE_BINARY_DIR}/zip"
    ${CMAKE_COMMAND} -E tar cf "${CMAKE_BINARY_DIR}/${zip_name}.zip" --format=zip "${zip_name}"
  COMMENT "Packing ${zip_name}.zip"
  VERBATIM)
add_dependencies(skarvold_zip skarvold)

# The browser build: the game as skarvold.js and skarvold.wasm, the data set a native build
# generated packed into skarvold.data (at /Data, beside the working folder /), and the page
# (web/index.html) with the game's icon as its favicon. The folder holds everything a static
# web host needs; scripts/web.sh builds it and serves it.

# The page fetches the .wasm and the .data itself, to show one progress bar and one sentence if
# either fails, and hands them to the game's script (Module.wasmBinary and
# Module.getPreloadedPackage). Exceptions are caught: where a thread cannot start (the browser
# build has none) the image and sound decoders take the path they have for that, which needs
# std::thread's exception to be caught rather than abort.
set(web_flags -fexceptions)
target_compile_options(skarvold_base PUBLIC ${web_flags})
target_compile_options(skarvold_render PUBLIC ${web_flags})
target_compile_options(skarvold_sound PUBLIC ${web_flags})
target_compile_options(skarvold_game PUBLIC ${web_flags})

# The data set's installed layout is not the browser's: the game finds Data/ in its working
# folder.
target_compile_definitions(skarvold PRIVATE SKARVOLD_DATA_FROM_PROGRAM=".")

# SDL's browser back end calls two helpers of emscripten's library that only its own port would
# add; the names begin with '$', which CMake's quoting mangles, so they come from a file.
set(web_library_funcs "${CMAKE_BINARY_DIR}/library-funcs.json")
file(WRITE "${web_library_funcs}" "[\"$autoResumeAudioContext\", \"$dynCall\"]\n")

file(GLOB_RECURSE web_data_files CONFIGURE_DEPENDS "${SKARVOLD_DATA_DIR}/*")
target_link_options(skarvold PRIVATE
  -fexceptions
  "SHELL:--preload-file ${SKARVOLD_DATA_DIR}@/Data"
  "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${web_library_funcs}"
  -sALLOW_MEMORY_GROWTH=1
  -sINITIAL_MEMORY=64MB
  -sENVIRONMENT=web
  -sEXIT_RUNTIME=0)
# The site: the game, the page and its icon, and nothing of the build beside them.
set(SKARVOLD_WEB_SITE "${CMAKE_BINARY_DIR}" CACHE PATH "The folder the browser build's site goes to")
set_target_properties(skarvold PROPERTIES
  SUFFIX ".js"
  RUNTIME_OUTPUT_DIRECTORY "${SKARVOLD_WEB_SITE}"
  LINK_DEPENDS "${web_data_files};${web_library_funcs}")
configure_file(${CMAKE_SOURCE_DIR}/web/index.html ${SKARVOLD_WEB_SITE}/index.html COPYONLY)
set(web_icon "${SKARVOLD_DATA_DIR}/../Icons/hicolor/32x32/apps/skarvold.png")
if(NOT EXISTS "${web_icon}")
  message(FATAL_ERROR "The generated icon ${web_icon} is missing: generate the data set first")
endif()
configure_file("${web_icon}" ${SKARVOLD_WEB_SITE}/favicon.png COPYONLY)

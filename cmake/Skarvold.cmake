# Strict warnings for our own code; SDL's and cairo's headers come in through imported
# targets and are therefore system headers that these flags do not reach.
function(skarvold_strict target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wnull-dereference -Wdouble-promotion -Wformat=2 -Werror)
endfunction()

# skarvold_add_layer(NAME FOLDERS dir... [EXCLUDE file...] [LINKS target...])
# Declares one layer of the game from whole folders, so a new class needs no CMake edit. A layer
# links only the layers below it, so an include that reaches upwards fails to build.
function(skarvold_add_layer name)
  cmake_parse_arguments(ARG "" "" "FOLDERS;EXCLUDE;LINKS" ${ARGN})
  set(sources)
  foreach(folder IN LISTS ARG_FOLDERS)
    file(GLOB folder_sources CONFIGURE_DEPENDS
      ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp
      ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h)
    list(APPEND sources ${folder_sources})
  endforeach()
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  skarvold_strict(${name})
endfunction()

# Strict warnings for our own code; SDL's and cairo's headers come in through imported
# targets and are therefore system headers that these flags do not reach.
function(skarvold_strict target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wnull-dereference -Wdouble-promotion -Wformat=2 -Werror)
endfunction()

# skarvold_add_core(NAME MODULES dir... EXCLUDE file...)
# Declares the core library from whole module folders, so a new class needs no CMake edit.
function(skarvold_add_core name)
  cmake_parse_arguments(ARG "" "" "MODULES;EXCLUDE" ${ARGN})
  set(sources)
  foreach(module IN LISTS ARG_MODULES)
    file(GLOB module_sources CONFIGURE_DEPENDS
      ${CMAKE_CURRENT_SOURCE_DIR}/${module}/*.cpp
      ${CMAKE_CURRENT_SOURCE_DIR}/${module}/*.h)
    list(APPEND sources ${module_sources})
  endforeach()
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC PkgConfig::SDL m)
  skarvold_strict(${name})
endfunction()

# The static SDL2 family of a cross build, as scripts/sdl-libraries.sh installs it.
find_package(SDL2 CONFIG REQUIRED)
# SDL2_image's configuration asks for libpng even though PNG is decoded by its built-in
# stb_image: an empty target satisfies it.
if(NOT TARGET PNG::PNG)
  add_library(PNG::PNG INTERFACE IMPORTED)
endif()
find_package(SDL2_image CONFIG REQUIRED)
find_package(SDL2_mixer CONFIG REQUIRED)
find_package(freetype CONFIG QUIET)
find_package(SDL2_ttf CONFIG REQUIRED)
target_link_libraries(skarvold_sdl INTERFACE
  SDL2_image::SDL2_image-static SDL2_mixer::SDL2_mixer-static SDL2_ttf::SDL2_ttf-static
  SDL2::SDL2-static)

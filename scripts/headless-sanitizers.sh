# Sourced by the scripts that run the sanitizer build headless (the tests, the long soak):
# offscreen video, the software renderer and silent audio unless the environment names its
# own, and sanitizers that stop at their first report, leaks included.
export SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-offscreen}"
export SDL_RENDER_DRIVER="${SDL_RENDER_DRIVER:-software}"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# Leaks inside system libraries that the game cannot free.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/lsan.supp:print_suppressions=0"

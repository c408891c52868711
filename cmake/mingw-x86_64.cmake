# The same sources for 64-bit Windows, run under wine64.
set(LUMISK_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# The shipped 32-bit build. Its programs run under the emulated 32-bit Wine (scripts/wine-env.sh).
set(LUMISK_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

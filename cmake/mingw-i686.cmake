# The shipped 32-bit build. Nothing of it runs here (see README, "Why two Windows builds").
set(LUMISK_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

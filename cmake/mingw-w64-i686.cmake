# Cross toolchain: 32-bit Windows (dist32/), for hosts that are 32-bit
# programs. Floating point goes through SSE2, never the x87 unit, whose 80-bit
# registers would round differently: every computation gives the same bits as
# the 64-bit build. SSE2 makes GCC realign the stack where a function needs
# it, since Windows only promises 4-byte alignment to callbacks.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(CB_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/wine32-run.sh)
set(CMAKE_C_FLAGS_INIT   "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

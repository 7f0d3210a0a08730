# Cross toolchain: 64-bit Windows (dist/).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CB_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

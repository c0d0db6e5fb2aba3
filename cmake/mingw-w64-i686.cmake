# 32-bit Windows with MinGW-w64 (cmake --preset windows-x86).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ORDIMET_MINGW_TRIPLET i686-w64-mingw32)
# SSE2 arithmetic: every operation rounds to IEEE double as on 64-bit
# processors, where the x87 unit would keep intermediate results in extended
# precision and change printed digits.
string(APPEND CMAKE_C_FLAGS_INIT " -msse2 -mfpmath=sse")
string(APPEND CMAKE_CXX_FLAGS_INIT " -msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

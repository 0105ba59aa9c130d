# The Windows test programs: mingw-w64's posix-thread compiler, which builds GoogleTest from its sources (the
# win32-thread one does not), linked statically so that Wine needs no runtime DLL beside the library's own.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
find_program(MAPIPIM_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(MAPIPIM_WINE NAMES wine64 wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${MAPIPIM_WINE})

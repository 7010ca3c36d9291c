# Cross-build for 64-bit Windows with Debian's mingw-w64 (posix threads,
# package g++-mingw-w64-x86-64-posix).  Programs built here run under wine,
# so the tests run on this machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KOVRA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KOVRA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KOVRA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KOVRA_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KOVRA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own run-time (libstdc++, libgcc, winpthread) is linked in,
# so every program runs without DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# wine runs the programs: no debug chatter, a UTF-8 locale so that non-ASCII
# arguments reach the program intact, no downloads of Mono or Gecko when the
# prefix is made.  The prefix (wine's "C:" drive and registry) lives in the
# build folder unless WINEPREFIX names one.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(KOVRA_WINE NAMES wine wine64)
  if(KOVRA_WINE)
    if(DEFINED ENV{WINEPREFIX})
      set(KOVRA_WINEPREFIX "$ENV{WINEPREFIX}")
    else()
      set(KOVRA_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
    endif()
    set(KOVRA_WINE_ENV WINEDEBUG=-all WINEARCH=win64 "WINEPREFIX=${KOVRA_WINEPREFIX}"
        "WINEDLLOVERRIDES=mscoree,mshtml=" LC_ALL=C.UTF-8)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${KOVRA_WINE_ENV} ${KOVRA_WINE})
  endif()
endif()

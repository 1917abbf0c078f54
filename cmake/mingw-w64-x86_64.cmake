# Cross build of the Windows tool with Debian's mingw-w64 compiler
# (package g++-mingw-w64-x86-64-posix).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GROTTOPRINT_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER ${GROTTOPRINT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${GROTTOPRINT_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${GROTTOPRINT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# windres looks for a plain "-gcc" to preprocess resources; Debian names it
# after the thread model.
set(CMAKE_RC_FLAGS_INIT "--preprocessor=${GROTTOPRINT_MINGW_PREFIX}-gcc-posix --preprocessor-arg=-E --preprocessor-arg=-xc --preprocessor-arg=-DRC_INVOKED")

# Cross-build for 64-bit Windows with MinGW-w64: its headers, C runtime and
# GCC's libstdc++ (posix threads, so that std::thread and friends work),
# compiled by Clang and linked by LLD, whose link-time optimisation and
# folding of identical code make winscout.exe small (GCC's LTO crashes on the
# toolkit). The built test programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# LLVM's archiver indexes the objects that link-time optimisation leaves as
# LLVM bitcode.
set(CMAKE_AR llvm-ar CACHE FILEPATH "")
set(CMAKE_RANLIB llvm-ranlib CACHE FILEPATH "")
# GNU's tools read and strip the result as the release's users' tools would.
set(CMAKE_OBJDUMP x86_64-w64-mingw32-objdump CACHE FILEPATH "")
set(CMAKE_STRIP x86_64-w64-mingw32-strip CACHE FILEPATH "")
# The compiler a user of the generated C++ code is most likely to have here.
set(WINSCOUT_MINGW_CXX x86_64-w64-mingw32-g++-posix)

# Where MinGW-w64's GCC keeps libstdc++ and libgcc.
execute_process(COMMAND ${WINSCOUT_MINGW_CXX} -print-libgcc-file-name
                OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
cmake_path(GET libgcc PARENT_PATH gcc_dir)
set(CMAKE_CXX_FLAGS_INIT
    "-nostdinc++ -isystem ${gcc_dir}/include/c++ -isystem ${gcc_dir}/include/c++/x86_64-w64-mingw32")
# The include options above reach the link line too, where they mean nothing.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_dir} -Wno-unused-command-line-argument")
set(CMAKE_SHARED_LINKER_FLAGS_INIT ${CMAKE_EXE_LINKER_FLAGS_INIT})
set(CMAKE_CXX_STANDARD_LIBRARIES "-lpthread")

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

find_program(WINE_EXECUTABLE NAMES wine wine64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_EXECUTABLE})

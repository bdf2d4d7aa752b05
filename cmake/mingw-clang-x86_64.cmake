# Cross-build the 64-bit Windows program with Debian's clang and lld: a second compiler over
# the same mingw-w64 headers and libraries. Clang brings no C++ library for this target, so
# it takes libstdc++ from the posix-threads mingw GCC (std::mutex and friends need winpthreads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER ${triple}-windres)

# The newest posix-threads GCC, e.g. /usr/lib/gcc/x86_64-w64-mingw32/12-posix.
file(GLOB gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/${triple}/*-posix)
list(SORT gcc_dirs COMPARE NATURAL ORDER DESCENDING)
list(GET gcc_dirs 0 gcc_dir)
if(NOT EXISTS "${gcc_dir}/include/c++")
  message(FATAL_ERROR "No posix-threads mingw-w64 GCC under /usr/lib/gcc/${triple}: install g++-mingw-w64-x86-64-posix")
endif()
set(CMAKE_CXX_FLAGS_INIT
  "-isystem ${gcc_dir}/include/c++ -isystem ${gcc_dir}/include/c++/${triple}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_dir} -lpthread")

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

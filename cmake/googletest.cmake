# GoogleTest for the unit tests and the Win32 integration tests, as GTest::gtest and
# GTest::gtest_main. Included by each folder that needs it.
#  - Linux: Debian's package.
#  - The mingw cross builds: Debian's sources (/usr/src/googletest), built for Windows.
#  - Windows: an installed GoogleTest when find_package finds one, else a pinned release.
# Where none is to be had, GTest::gtest stays undefined and the caller builds no tests.

if(NOT WIN32)
  find_package(GTest REQUIRED)
  return()
endif()
if(TARGET GTest::gtest)
  return()
endif()

if(CMAKE_CROSSCOMPILING)
  set(PELVANTO_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH
      "GoogleTest sources to build for the Windows tests")
  if(NOT EXISTS "${PELVANTO_GTEST_SOURCE_DIR}/CMakeLists.txt")
    message(STATUS "No GoogleTest sources at '${PELVANTO_GTEST_SOURCE_DIR}': no Windows tests")
    return()
  endif()
else()
  find_package(GTest QUIET)
  if(TARGET GTest::gtest)
    return()
  endif()
endif()

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# GoogleTest has its own Windows locks; mingw's win32 thread model has no pthreads.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
# Leaves the C runtime to this project, which picks the static one.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
if(CMAKE_CROSSCOMPILING)
  add_subdirectory("${PELVANTO_GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
else()
  include(FetchContent)
  FetchContent_Declare(googletest
    URL https://github.com/google/googletest/archive/refs/tags/v1.14.0.tar.gz
    URL_HASH SHA256=8ad598c73ad796e0d8280b082cebd82a630d73e73cd3c70057938a6501bba5d7
    DOWNLOAD_EXTRACT_TIMESTAMP TRUE)
  FetchContent_MakeAvailable(googletest)
endif()

foreach(lib gtest gtest_main)
  # Its headers are not held to this project's warnings.
  get_target_property(dirs ${lib} INTERFACE_INCLUDE_DIRECTORIES)
  set_target_properties(${lib} PROPERTIES INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${dirs}")
  if(MINGW)
    # The win32 thread model lacks std::mutex, which GoogleTest's thread start signal uses.
    target_compile_options(${lib} PUBLIC
      -include "${PROJECT_SOURCE_DIR}/tests/win32/gtest_notification.h")
  endif()
endforeach()

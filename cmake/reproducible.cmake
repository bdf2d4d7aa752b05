# Two builds of the same sources give the same Pelvanto.exe byte for byte, wherever and
# whenever they run: no time stamp in the PE header, the resources or a debug directory, and
# no absolute source or build path in what the compiler leaves behind (__FILE__ and the like).
# Compiler options only: the resource compiler takes neither.
if(MSVC)
  add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:/Brepro>)
  add_link_options(/Brepro)
else()
  # The build folder may sit inside the source folder: GCC takes the last map that fits.
  add_compile_options(
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}=build>")
  if(WIN32)
    # GNU ld and lld alike: 0 in the PE header and the resource directory.
    add_link_options(-Wl,--no-insert-timestamp)
  endif()
endif()

# gridclip_warnings: an INTERFACE target carrying the project's warning flags.
# Link it PRIVATE so the flags never leak into consumers of the library.
function(gridclip_add_warnings_target)
  add_library(gridclip_warnings INTERFACE)
  if(MSVC)
    target_compile_options(gridclip_warnings INTERFACE /W4 $<$<BOOL:${GRIDCLIP_WERROR}>:/WX>)
  else()
    target_compile_options(
      gridclip_warnings
      INTERFACE -Wall
                -Wextra
                -Wpedantic
                -Wshadow
                # implicit narrowing between long, int and double is where grid indices go wrong
                -Wconversion
                $<$<BOOL:${GRIDCLIP_WERROR}>:-Werror>)
  endif()
endfunction()

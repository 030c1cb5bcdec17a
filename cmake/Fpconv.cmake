# fpconv: Free Pascal's own form-file converters behind a command line (tests/reference), the
# independent implementation that the tests and the benchmarks hold ours against.
include_guard(GLOBAL)

find_program(FPC fpc)

# Builds fpconv into outdir as the target `fpconv` and sets ZELVAR_FPCONV in the caller to its
# path; "" when fpc is missing, so that the comparisons skip rather than fail. Called from both
# tests/ and bench/: the second call reuses the first build.
function(zelvar_fpconv outdir)
  if(NOT FPC)
    message(STATUS "fpc not found: comparisons with Free Pascal's converters will be skipped")
    set(ZELVAR_FPCONV "" PARENT_SCOPE)
    return()
  endif()
  if(TARGET fpconv)
    get_property(path GLOBAL PROPERTY ZELVAR_FPCONV_PATH)
    set(ZELVAR_FPCONV "${path}" PARENT_SCOPE)
    return()
  endif()
  set(source ${PROJECT_SOURCE_DIR}/tests/reference/fpconv.pas)
  set(exe ${outdir}/fpconv)
  # fpc drops its .o/.ppu files next to the source unless told otherwise; keep them here.
  set(units ${outdir}/fpconv-units)
  add_custom_command(OUTPUT ${exe}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${units}
    COMMAND ${FPC} -l- -v0we -O2 -FU${units} -o${exe} ${source}
    DEPENDS ${source}
    WORKING_DIRECTORY ${outdir}
    COMMENT "Building fpconv with Free Pascal"
    VERBATIM)
  add_custom_target(fpconv ALL DEPENDS ${exe})
  set_property(GLOBAL PROPERTY ZELVAR_FPCONV_PATH ${exe})
  set(ZELVAR_FPCONV "${exe}" PARENT_SCOPE)
endfunction()

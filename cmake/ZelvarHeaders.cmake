# Which headers are installed. Every header of the library folders is public except those
# named here: parts that only the library's own sources include. A public header includes
# public headers only; tests/install compiles each installed header on its own to hold that.
include_guard(GLOBAL)

set(ZELVAR_INTERNAL_HEADERS
  container/PageBoundNames.h      # how the container reads page-bound controls by name
  design/DialogParts.h            # the frame and buttons the four editor dialogs share
  platform/graphics/PixelMap.h    # how the compiled-in images are written in the source
  platform/graphics/TextRender.h  # FreeType behind TCanvas; programs draw text through TCanvas
)

# Sets out to the public headers, relative to the source directory.
function(zelvar_public_headers out)
  foreach(header IN LISTS ZELVAR_INTERNAL_HEADERS)
    if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${header})
      message(FATAL_ERROR "ZELVAR_INTERNAL_HEADERS names ${header}, which does not exist")
    endif()
  endforeach()
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
    ${PROJECT_SOURCE_DIR}/platform/*.h ${PROJECT_SOURCE_DIR}/lists/*.h
    ${PROJECT_SOURCE_DIR}/container/*.h ${PROJECT_SOURCE_DIR}/controls/*.h
    ${PROJECT_SOURCE_DIR}/design/*.h ${PROJECT_SOURCE_DIR}/resources/*.h
    ${PROJECT_SOURCE_DIR}/script/*.h ${PROJECT_SOURCE_DIR}/zelvar/*.h)
  list(REMOVE_ITEM headers ${ZELVAR_INTERNAL_HEADERS})
  list(SORT headers)
  set(${out} ${headers} PARENT_SCOPE)
endfunction()

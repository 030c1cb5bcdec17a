# Which headers are installed, and how. Every header of the library folders is public except
# those named here: parts that only the library's own sources include. A public header includes
# public headers only; tests/install compiles each installed header on its own to hold that.
include_guard(GLOBAL)

set(ZELVAR_INTERNAL_HEADERS
  container/PageBoundNames.h      # how the container reads page-bound controls by name
  design/DialogParts.h            # the frame and buttons the four editor dialogs share
  platform/graphics/PixelMap.h    # how the compiled-in images are written in the source
  platform/graphics/TextRender.h  # FreeType behind TCanvas; programs draw text through TCanvas
)

# The library's folders, whose headers install below include/zelvar. zelvar/ holds the
# umbrella headers, which are <zelvar/...> already.
set(ZELVAR_HEADER_FOLDERS platform lists resources container controls design script)

# Sets out to the public headers, relative to the source directory.
function(zelvar_public_headers out)
  foreach(header IN LISTS ZELVAR_INTERNAL_HEADERS)
    if(NOT EXISTS ${PROJECT_SOURCE_DIR}/${header})
      message(FATAL_ERROR "ZELVAR_INTERNAL_HEADERS names ${header}, which does not exist")
    endif()
  endforeach()
  set(patterns)
  foreach(folder IN LISTS ZELVAR_HEADER_FOLDERS ITEMS zelvar)
    list(APPEND patterns ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  endforeach()
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR} ${patterns})
  list(REMOVE_ITEM headers ${ZELVAR_INTERNAL_HEADERS})
  list(SORT headers)
  set(${out} ${headers} PARENT_SCOPE)
endfunction()

# Installs the public headers, and the generated ones given (absolute paths), below
# include/zelvar. Inside the repository the sources include each other as "platform/..."; the
# installed copies say <zelvar/platform/...>, so an application puts only include/ on its path
# and the folder names cannot clash with its own. The copies are rewritten as they are
# installed, not made at build time: a build that is never installed pays nothing, and the
# build tree holds no second copy of a header that its own sources could include by mistake.
function(zelvar_install_headers)
  zelvar_public_headers(headers)
  set(installed)
  foreach(header IN LISTS headers)
    # zelvar/ is the umbrella headers' own folder: zelvar/zelvar.h stays <zelvar/zelvar.h>.
    set(name ${header})
    if(NOT name MATCHES "^zelvar/")
      set(name zelvar/${header})
    endif()
    get_filename_component(dir ${name} DIRECTORY)
    install(FILES ${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${dir})
    list(APPEND installed ${name})
  endforeach()
  install(FILES ${ARGN} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zelvar)
  set(root ${CMAKE_INSTALL_INCLUDEDIR})
  if(NOT IS_ABSOLUTE ${root})
    set(root "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${root}")
  endif()
  install(CODE "
    include(\"${CMAKE_CURRENT_FUNCTION_LIST_DIR}/ZelvarHeaders.cmake\")
    zelvar_rewrite_includes(\"${root}\" \"${installed}\")")
endfunction()

# Run by `cmake --install`: rewrites the project's own includes in the installed headers (paths
# below root), "platform/x.h" to <zelvar/platform/x.h> and "zelvar/x.h" to <zelvar/x.h>.
function(zelvar_rewrite_includes root headers)
  list(JOIN ZELVAR_HEADER_FOLDERS "|" folders)
  foreach(header IN LISTS headers)
    file(READ ${root}/${header} text)
    string(REGEX REPLACE "#include \"((${folders})/[^\"]+)\"" "#include <zelvar/\\1>"
      text "${text}")
    string(REGEX REPLACE "#include \"(zelvar/[^\"]+)\"" "#include <\\1>" text "${text}")
    file(WRITE ${root}/${header} "${text}")
  endforeach()
endfunction()

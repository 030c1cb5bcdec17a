# Installs the build into a scratch prefix, then configures, builds and runs two small consumer
# projects that find it with find_package(Zelvar): a headless one, which must neither look for
# nor link SDL2 and Xlib (and which compiles every installed header on its own), and one that
# links the window backend.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGV}")
  endif()
endfunction()
# The shared libraries a program loads, as ldd names them.
function(loaded_libraries program out)
  execute_process(COMMAND ldd ${program} OUTPUT_VARIABLE libs RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "ldd ${program} failed (${rc})")
  endif()
  set(${out} "${libs}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${ZELVAR_BUILD_DIR} --prefix ${prefix})

# Headless: SDL2 and X11 cannot even be found, so the package must not ask for them.
run(${CMAKE_COMMAND} -S ${CONSUMER_SOURCE_DIR} -B ${WORK_DIR}/build
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_DISABLE_FIND_PACKAGE_SDL2=ON -DCMAKE_DISABLE_FIND_PACKAGE_X11=ON)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build --parallel 2)
run(${WORK_DIR}/build/consumer)
loaded_libraries(${WORK_DIR}/build/consumer libs)
if(libs MATCHES "libSDL2|libX11")
  message(FATAL_ERROR "the headless consumer loads SDL2 or Xlib:\n${libs}")
endif()

# With windows: the component brings the backend and what it needs.
run(${CMAKE_COMMAND} -S ${CONSUMER_SOURCE_DIR}/window -B ${WORK_DIR}/window
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/window)
run(${WORK_DIR}/window/window_consumer)
loaded_libraries(${WORK_DIR}/window/window_consumer libs)
if(NOT libs MATCHES "libSDL2")
  message(FATAL_ERROR "the window consumer does not load SDL2:\n${libs}")
endif()

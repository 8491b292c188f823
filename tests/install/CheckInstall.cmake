# Installs the build into a scratch prefix and checks the layout the
# program relies on: the executable beside its three asset folders, and a
# link to it in bin/.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(home ${PREFIX}/lib/lumidot)
foreach(path ${home}/lumidot ${home}/overlays ${home}/buttons ${home}/samples)
    if(NOT EXISTS ${path})
        message(FATAL_ERROR "missing after install: ${path}")
    endif()
endforeach()
if(NOT IS_SYMLINK ${PREFIX}/bin/lumidot)
    message(FATAL_ERROR "bin/lumidot is not a link")
endif()
file(REAL_PATH ${PREFIX}/bin/lumidot target)
file(REAL_PATH ${home}/lumidot expected)
if(NOT target STREQUAL expected)
    message(FATAL_ERROR "bin/lumidot points at ${target}, not ${expected}")
endif()
file(REMOVE_RECURSE ${PREFIX})

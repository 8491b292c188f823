# `format` rewrites every C++ file of the project in the style of
# .clang-format; `format-check` only reports files that differ. Both run
# scripts/clang-format, which looks for clang-format 14 when they run (not
# when CMake configures), so installing it later needs no new configure,
# and a missing or other version stops them with a message saying so.
file(GLOB_RECURSE LUMIDOT_FORMAT_FILES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h
    ${PROJECT_SOURCE_DIR}/tests/*.cpp ${PROJECT_SOURCE_DIR}/tests/*.h
    ${PROJECT_SOURCE_DIR}/bench/*.cpp ${PROJECT_SOURCE_DIR}/bench/*.h)
set(LUMIDOT_CLANG_FORMAT ${PROJECT_SOURCE_DIR}/scripts/clang-format)
add_custom_target(format
    COMMAND ${LUMIDOT_CLANG_FORMAT} -i ${LUMIDOT_FORMAT_FILES}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Formatting the sources"
    VERBATIM)
add_custom_target(format-check
    COMMAND ${LUMIDOT_CLANG_FORMAT} --dry-run -Werror ${LUMIDOT_FORMAT_FILES}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Checking the sources' format"
    VERBATIM)

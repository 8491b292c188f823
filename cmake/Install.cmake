# Where `cmake --install` (and so `make install` and the Debian package)
# puts the program. The program reads its pictures and sounds from folders
# beside its executable, following a link to it, so the executable and the
# folders stay together in a private folder and the command is a link.

if(UNIX AND NOT APPLE)
    # Where Debian puts games: the command in games/, the rest in
    # lib/games/lumidot. The link is relative, so any prefix works.
    set(LUMIDOT_INSTALL_DIR lib/games/lumidot)
    set(LUMIDOT_COMMAND_DIR games)
else()
    set(LUMIDOT_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/lumidot)
endif()

install(TARGETS lumidot
    RUNTIME DESTINATION ${LUMIDOT_INSTALL_DIR}
    BUNDLE DESTINATION .)
if(NOT APPLE)
    foreach(folder IN LISTS LUMIDOT_ASSET_FOLDERS)
        install(DIRECTORY ${LUMIDOT_BIN_DIR}/${folder} DESTINATION ${LUMIDOT_INSTALL_DIR})
    endforeach()
endif()

if(NOT (UNIX AND NOT APPLE))
    return()
endif()

install(CODE "
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${LUMIDOT_COMMAND_DIR}\")
    file(CREATE_LINK ../${LUMIDOT_INSTALL_DIR}/lumidot
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${LUMIDOT_COMMAND_DIR}/lumidot\" SYMBOLIC)")

# The desktop's view of Lumidot: a menu entry, icons, AppStream metadata.
set(LUMIDOT_PACKAGING_DIR ${PROJECT_BINARY_DIR}/packaging)
configure_file(${PROJECT_SOURCE_DIR}/packaging/lumidot.desktop.in
    ${LUMIDOT_PACKAGING_DIR}/${LUMIDOT_APP_ID}.desktop @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/lumidot.metainfo.xml.in
    ${LUMIDOT_PACKAGING_DIR}/${LUMIDOT_APP_ID}.metainfo.xml @ONLY)
install(FILES ${LUMIDOT_PACKAGING_DIR}/${LUMIDOT_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${LUMIDOT_PACKAGING_DIR}/${LUMIDOT_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 128)
    install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/lumidot-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME lumidot.png)
endforeach()

# The copyright file in Debian's machine-readable format, its licence text
# taken from LICENSE, which stays the one home of the licence.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
string(FIND "${license}" "Permission is hereby granted" start)
if(NOT license MATCHES "Copyright \\(c\\) ([^\n]+)" OR start EQUAL -1)
    message(FATAL_ERROR "LICENSE is not the MIT licence that packaging/copyright.in names")
endif()
set(LUMIDOT_COPYRIGHT "${CMAKE_MATCH_1}")
string(SUBSTRING "${license}" ${start} -1 license)
string(STRIP "${license}" license)
# In a Debian control paragraph a line goes on with a space, and an empty
# line is a lone dot.
string(REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " LUMIDOT_LICENSE_TEXT " ${license}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in
    ${LUMIDOT_PACKAGING_DIR}/copyright @ONLY)

# The changelogs and the manual page, compressed as Debian wants them:
# the best compression, no name or time inside (the same bytes each build).
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in
    ${LUMIDOT_PACKAGING_DIR}/changelog @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.Debian.in
    ${LUMIDOT_PACKAGING_DIR}/changelog.Debian @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/lumidot.6.in
    ${LUMIDOT_PACKAGING_DIR}/lumidot.6 @ONLY)
find_program(LUMIDOT_GZIP gzip REQUIRED)
set(compressed)
foreach(file changelog changelog.Debian lumidot.6)
    add_custom_command(OUTPUT ${LUMIDOT_PACKAGING_DIR}/${file}.gz
        COMMAND ${LUMIDOT_GZIP} -9nkf ${LUMIDOT_PACKAGING_DIR}/${file}
        DEPENDS ${LUMIDOT_PACKAGING_DIR}/${file}
        COMMENT "Compressing ${file}"
        VERBATIM)
    list(APPEND compressed ${LUMIDOT_PACKAGING_DIR}/${file}.gz)
endforeach()
add_custom_target(lumidot_docs ALL DEPENDS ${compressed})
install(FILES ${LUMIDOT_PACKAGING_DIR}/lumidot.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES
        ${LUMIDOT_PACKAGING_DIR}/copyright
        ${LUMIDOT_PACKAGING_DIR}/changelog.gz
        ${LUMIDOT_PACKAGING_DIR}/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lumidot)

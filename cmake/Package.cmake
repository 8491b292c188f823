# The desktop's view of Lumidot (a menu entry, icons, AppStream metadata)
# and its Debian package: `make package` or `cmake --build <dir> --target
# package`.

if(UNIX AND NOT APPLE)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/lumidot.desktop.in
        ${PROJECT_BINARY_DIR}/packaging/${LUMIDOT_APP_ID}.desktop @ONLY)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/lumidot.metainfo.xml.in
        ${PROJECT_BINARY_DIR}/packaging/${LUMIDOT_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/packaging/${LUMIDOT_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_BINARY_DIR}/packaging/${LUMIDOT_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    foreach(size 16 32 128)
        install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/lumidot-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME lumidot.png)
    endforeach()
endif()

set(CPACK_PACKAGE_NAME lumidot)
set(CPACK_PACKAGE_VENDOR "none")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION "Lumidot simulates the Velmora, a small handheld game \
console with a 16 x 16 liquid-crystal dot display and a twelve-key keypad, together with \
its built-in cartridge game, Zentrax.")
set(CPACK_PACKAGE_CONTACT "The Lumidot developers <lumidot@localhost>")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries the executable links come from dpkg-shlibdeps; Qt's X11
# platform plugin is loaded at run time, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, fonts-dejavu-extra")
include(CPack)

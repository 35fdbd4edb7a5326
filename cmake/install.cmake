# Install layout and the Debian package.
#
# An installed program keeps everything it reads in one program directory,
# <prefix>/lib/ohmtrim: the executables, the shipped value sets, the help
# file and the default omtr.ini. <prefix>/bin holds links to the
# executables; the program finds its directory by resolving its own path,
# so the links lead it there. The desktop entry, metainfo, icon and manual
# pages go where the desktop and man look for them.
include(GNUInstallDirs)
set(OHMTRIM_INSTALL_DIR lib/ohmtrim)
set(OHMTRIM_APP_ID org.ohmtrim.Ohmtrim)

set(programs ohmtrim-cli)
if(OHMTRIM_GUI)
    list(APPEND programs ohmtrim)
endif()
install(TARGETS ${programs} RUNTIME DESTINATION ${OHMTRIM_INSTALL_DIR})
install(FILES ${OHMTRIM_DATA_FILES} ${OHMTRIM_SETTINGS_FILE} DESTINATION ${OHMTRIM_INSTALL_DIR})

# Relative links, so that the tree works under any prefix and in a package.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-links)
foreach(program ${programs})
    file(CREATE_LINK ../${OHMTRIM_INSTALL_DIR}/${program}
         ${CMAKE_BINARY_DIR}/install-links/${program} SYMBOLIC)
    install(FILES ${CMAKE_BINARY_DIR}/install-links/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

# Manual pages, compressed as Debian wants them (-n: no time stamp, so the
# package is reproducible).
set(man_pages ${CMAKE_SOURCE_DIR}/man/ohmtrim-cli.1)
if(OHMTRIM_GUI)
    list(APPEND man_pages ${CMAKE_SOURCE_DIR}/man/ohmtrim.1)
endif()
set(compressed_pages)
foreach(page ${man_pages})
    get_filename_component(name ${page} NAME)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${name}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND gzip -9 -n -c ${page} > ${CMAKE_BINARY_DIR}/man/${name}.gz
        DEPENDS ${page})
    list(APPEND compressed_pages ${CMAKE_BINARY_DIR}/man/${name}.gz)
endforeach()
add_custom_target(ohmtrim_man ALL DEPENDS ${compressed_pages})
install(FILES ${compressed_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(OHMTRIM_GUI)
    install(FILES ${CMAKE_SOURCE_DIR}/desktop/${OHMTRIM_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_SOURCE_DIR}/desktop/${OHMTRIM_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${CMAKE_SOURCE_DIR}/desktop/${OHMTRIM_APP_ID}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# ---- Debian package: cpack -G DEB ------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ohmtrim)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "calculator for resistor networks of standard values")
set(CPACK_PACKAGE_DESCRIPTION
    "Ohmtrim finds the standard resistor values (E3 to E192 or any value set of\n"
    "your own) that best build a wanted resistance, voltage divider or set of\n"
    "node voltages, and converts between colour bands and resistance. It comes\n"
    "as a desktop program and as a command-line tool, ohmtrim-cli.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "Ohmtrim developers <devel@ohmtrim.invalid>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries the executables link come from dpkg-shlibdeps; what Qt loads at
# run time does not show there: the SVG plugins draw the window icon, and
# the fonts stand in for the ones the windows were laid out with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(OHMTRIM_GUI)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, fonts-liberation2")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)

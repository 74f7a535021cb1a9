# A place on the desktop: the menu entry, the software-centre description,
# and `make package`, a Debian package of everything `cmake --install` puts
# down.
set(tk_app_id org.tamilkalvem.TamilKalvem)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${tk_app_id}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${tk_app_id}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tamilkalvem)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tamil word processor with phonetic typing on a Latin keyboard")
set(CPACK_PACKAGE_DESCRIPTION "Type Tamil phonetically: each Latin key becomes Tamil script in the\n\
program's own display fonts. Rich text and plain text documents, a word memory,\n\
conversion of pasted text and whole files, and a help page with the key chart.")
set(CPACK_PACKAGE_CONTACT "Tamil Kalvem developers <tamilkalvem@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
# The libraries the program and the browser module link are found by
# dpkg-shlibdeps; these are what they load at run time without linking.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6webenginecore6-bin, libqt6svg6, adwaita-icon-theme, fonts-cabinsketch, espeak-ng-data, aspell-ta, hunspell-en-us")
include(CPack)

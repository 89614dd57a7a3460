# What `cmake --install` puts under the prefix besides the program and its help page (app/): the
# desktop entry and the icon in the hicolor theme; and the Debian package CPack makes of it all
# (scripts/package.sh).
install(FILES ${CMAKE_CURRENT_LIST_DIR}/quinabel.desktop DESTINATION share/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/quinabel.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/${size}x${size}/quinabel.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

# The package's dependencies, by their Debian 12 names: the libraries the program links (the
# package test checks that every one of them belongs to a package listed here), the platform
# plugins, the fonts that stand in for Arial and Courier New, the Portuguese texts of Qt's own
# dialogs, the browser opener of the help link, and printing through CUPS (Qt's CUPS plugin ships
# in libqt6printsupport6). A feature that links a new library appends its package here.
set(QUINABEL_DEB_DEPENDS
  "libc6" "libstdc++6" "libgcc-s1"
  "libqt6core6 (>= 6.4)" "libqt6gui6 (>= 6.4)" "libqt6widgets6 (>= 6.4)" "libqt6printsupport6 (>= 6.4)"
  "qt6-qpa-plugins" "libsqlite3-0" "libquazip1-qt6-1" "libxml2"
  "fonts-liberation" "qt6-translations-l10n" "xdg-utils" "libcups2")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quinabel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quinabel <dev@quinabel>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "escolha, custeio, conferência e impressão de jogos da Mega-Sena")
set(CPACK_PACKAGE_DESCRIPTION
    "O Quinabel guarda os resultados dos concursos da Mega-Sena, mostra as estatísticas de cada dezena, gera os jogos, mostra quanto custam, confere os jogos com o último concurso e os imprime nos volantes da lotérica.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE quinabel_arch
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT quinabel_arch)
  set(quinabel_arch amd64)
endif()
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${quinabel_arch})
list(JOIN QUINABEL_DEB_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_DEBIAN_FILE_NAME "quinabel_${PROJECT_VERSION}_${quinabel_arch}.deb")
set(CPACK_STRIP_FILES ON)
include(CPack)

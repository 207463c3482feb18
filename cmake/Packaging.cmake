# The Debian package (cpack -G DEB, see scripts/package.sh): everything that
# `cmake --install` puts under the prefix, installed under /usr.

set(CPACK_PACKAGE_NAME "tarvel2")
set(CPACK_PACKAGE_VENDOR "Orvane")
set(CPACK_PACKAGE_CONTACT "Tarvel 2 <tarvel2@orvane.invalid>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Programación con diagramas de flujo para tecnología de control")
# Lines kept short and paragraphs apart, as the package tools show them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Entorno de programación con diagramas de flujo para el aula de tecnología:"
    "el alumnado dibuja un diagrama, lo ejecuta y ve cómo gobierna un interfaz"
    "de control por el puerto serie o USB, o uno simulado con monitores y"
    "mímicas animadas. Las lecturas de los sensores se capturan y se dibujan en"
    "gráficas; para el sistema de chip el diagrama se compila y se descarga."
    ""
    "Incluye Tarvel2Esp (el programa), Setini (escribe el archivo de inicio) y"
    "tarvel (la herramienta de órdenes), con tablas de sensores, mímicas y"
    "diagramas de ejemplo.")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "education")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The libraries the programs link come from dpkg-shlibdeps; these are what
# they need at run time without linking them: the metric-compatible "Arial"
# every chart is drawn with, and the Spanish texts of Qt's own dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, qt6-translations-l10n")
# A double click on a chart needs the desktop's MIME and icon caches brought up
# to date; the packages that own them do it by their triggers.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")

include(CPack)

# `cmake --build BUILD --target package`: the installed tree as lintrel_<version>_amd64.deb, with
# the libraries it needs found by dpkg-shlibdeps and what it needs at run time besides them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lintrel)
set(CPACK_PACKAGE_VENDOR "The Lintrel developers")
set(CPACK_PACKAGE_CONTACT "${LINTREL_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "clean up DXF drawings before they go to the cutter")
set(CPACK_PACKAGE_DESCRIPTION
    "Lintrel cleans two-dimensional drawings stored as text DXF files (AutoCAD
2000 and 2004 formats) before they go to a laser or CNC cutter. It removes
the entities chosen: construction lines, dimensions, TEXT and MTEXT, tiny
lines, arcs and circles, entities in special linetypes and POINTs. It also
removes duplicate lines and joins broken horizontal and vertical lines, so
the cutter does not cut twice. The input is never changed: the result is
written beside it as NAME-Cut.dxf.

The window (lintrel) speaks Japanese; lintrel-cli does the same work from a
terminal or a script.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${LINTREL_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Neither is linked, so dpkg-shlibdeps cannot see them: the Japanese captions need a CJK font, and
# Qt's window needs its platform plugins (only recommended by libqt6gui6).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, qt6-qpa-plugins")
include(CPack)

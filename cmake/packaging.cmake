# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in a build folder gives
# lorva-avec-frottement_<version>_<arch>.deb, installable with
# `apt install ./lorva-avec-frottement_….deb` on Debian 12.
set(CPACK_PACKAGE_NAME lorva-avec-frottement)
set(CPACK_PACKAGE_VENDOR "Lorva avec frottement")
set(CPACK_PACKAGE_CONTACT "Équipe de Lorva avec frottement <contact@lorva.fr>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "simulateur de chute d'une sphère dans un fluide visqueux")
set(CPACK_PACKAGE_DESCRIPTION
    "Lorva avec frottement est un simulateur de physique pour le lycée : il montre
la chute verticale d'une sphère lâchée sans vitesse initiale dans un fluide
visqueux, avec chronophotographie, vecteurs, graphes, tableau de valeurs,
configurations, exercices et calculatrice.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY lorva-avec-frottement)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt 6.4 libraries of Debian 12, the platform plugins that show the
# windows, the fonts the pictures are drawn with, and Qt's French texts for
# the standard dialogs; FFmpeg's libraries, which read the videos of a fall
# (loaded with the program's video module, and by lorva-mesures).
string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6 (>= 2.34)"
    "libstdc++6 (>= 12)"
    "libgcc-s1"
    "libqt6core6 (>= 6.4)"
    "libqt6gui6 (>= 6.4)"
    "libqt6widgets6 (>= 6.4)"
    "libqt6printsupport6 (>= 6.4)"
    "libqt6svg6 (>= 6.4)"
    "qt6-qpa-plugins"
    "fonts-liberation2"
    "qt6-translations-l10n"
    "libavformat59"
    "libavcodec59"
    "libswscale6"
    "libavutil57")
# The menu entry, the file types and the icons are picked up by the
# desktop's triggers (desktop-file-utils, shared-mime-info, hicolor).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")

# Only the program and its data: the test and benchmark programs have no
# install rules.
include(CPack)

# The Debian package, made by CPack from the install rules:
#   cmake --build build --target package    ->  build/kavro_<version>_amd64.deb
# Its runtime dependencies are computed from the programs by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kavro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small 2D jump-and-run game")
set(CPACK_PACKAGE_CONTACT "Kavro maintainers <maintainers@kavro.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KAVRO_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The package's long description; CPack indents it below the summary line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Walk, jump and climb ladders through a level that scrolls under the player,
collect coins and gems for 100 points each, and keep clear of spikes and lava,
which send the player back to the start.

The game comes twice: kavro draws with a Direct3D 9 style screen and kavro-dx7
with a DirectDraw 7 style screen, both in software over SDL2. Keyboard scripts
replay a game frame by frame and every frame can be captured as a picture; see
kavro(6).")

include(CPack)

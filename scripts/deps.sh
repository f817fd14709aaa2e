#!/bin/sh
# Installs, as root on Debian 12, every package the build, the program and the tests need;
# packages already present are skipped, so a second run costs only the dpkg query.
set -e
PACKAGES="
cmake ninja-build g++ clang libclang-rt-14-dev pkg-config ccache
qt6-base-dev qt6-multimedia-dev libfontconfig-dev qt6-image-formats-plugins qt6-translations-l10n libgl-dev
libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev ffmpeg
libfluidsynth-dev timgm6mb-soundfont
libgtest-dev libgmock-dev libbenchmark-dev
libpng-dev libwine binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 icoutils
fonts-liberation2 fonts-dejavu-core fonts-wine
xvfb xauth imagemagick x11-utils
parallel python3-pefile
file dpkg-dev lintian man-db desktop-file-utils appstream
tumbler dbus-daemon bubblewrap icoextract-thumbnailer
"
missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi

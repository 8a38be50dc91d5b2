#!/bin/sh
# Installs every Debian 12 package Lindenfold needs to build, test and run.
# Run as root (or through sudo). Safe to run again: installed packages are skipped.
set -eu

PACKAGES="
build-essential cmake pkg-config libxcb1-dev
qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
qt6-qpa-plugins libqt6svg6 qt6-svg-dev qt6-image-formats-plugins
libtag1-dev nlohmann-json3-dev
libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev gstreamer1.0-tools
gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav gstreamer1.0-pulseaudio
gstreamer1.0-plugins-bad gstreamer1.0-plugins-ugly
pulseaudio pulseaudio-utils
xvfb xauth x11-utils xdotool imagemagick
dbus dbus-x11 playerctl desktop-file-utils
qt6-wayland weston appstream
sox libsox-fmt-all ffmpeg
fonts-dejavu-core fonts-noto-cjk qt6-translations-l10n file
clang libclang-rt-14-dev clang-format
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi

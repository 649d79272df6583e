#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when one is missing.
set -euo pipefail

packages=(
  build-essential cmake make pkg-config
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcurl4-openssl-dev libusb-1.0-0-dev nlohmann-json3-dev zlib1g-dev libicu-dev libgumbo-dev
  libmicrohttpd-dev libsodium-dev
  # Counting the store reads of one command (the store read test).
  strace
  # The web page's browser test (ctest --preset browser) and its screenshot.
  chromium chromium-driver python3-selenium
  # watch --mqtt, and the broker and clients its tests and examples run.
  libmosquitto-dev mosquitto mosquitto-clients
  libxml2-dev
  # The secure page server of the tests.
  openssl
  locales
  qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev
  # Manual pages, icons, and the checks of the Debian package (make package, ctest -L package).
  scdoc librsvg2-bin bash-completion
  dpkg-dev file binutils man-db lintian desktop-file-utils appstream
)
if [ "${1:-}" = "--gui-tools" ]; then
  packages+=(xvfb xauth x11-apps netpbm)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"

# Shared by scripts/run and scripts/test: the Debian packages the project needs.
BUILD_PACKAGES=(cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libgl-dev libpulse-dev
  libgtest-dev libgmock-dev libbenchmark-dev libaubio-dev libexpat1-dev libzip-dev libxkbcommon-x11-dev
  fonts-dejavu-core fonts-ipafont-gothic fonts-urw-base35
  qt6-l10n-tools qt6-translations-l10n)
TEST_PACKAGES=(xvfb xauth xdotool imagemagick x11-utils sox python3 clang poppler-utils
  musescore3 pulseaudio pulseaudio-utils)

# Installs those of the given packages that are missing, as root or through sudo.
install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}"; return 1; }
    sudo=sudo
  fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

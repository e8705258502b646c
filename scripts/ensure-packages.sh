# Sourced by ./run and ./test: installs the Debian packages the build needs when missing.
vantrel_packages=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev libgl-dev libboost-dev
  libqt6svg6 # SVG icon engine and image plugin for the toolbar icons (loaded at run time)
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic
)

ensure_packages() {
  local missing=()
  local p
  for p in "${vantrel_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

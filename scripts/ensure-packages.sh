# Sourced by ./run and ./test: installs the Debian packages the build needs when missing.
vantrel_packages=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev libgl-dev libboost-dev
  libqt6svg6 # SVG icon engine and image plugin for the toolbar icons (loaded at run time)
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic
  qt6-translations-l10n # Japanese texts of Qt's own dialogs
  libmosquitto-dev # the MQTT input
  mosquitto mosquitto-clients # the broker the MQTT tests start, and mosquitto_pub for the demo script
  qt6-httpserver-dev qt6-websockets-dev # the live web view
)
# Only ./test needs these: the browser the live web view is tested in.
vantrel_test_packages=(chromium chromium-driver)

# Installs the build's packages and any named after it.
ensure_packages() {
  local missing=()
  local p
  for p in "${vantrel_packages[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The locale tests need a decimal-comma locale; a fresh machine has none, so one is made.
ensure_comma_locale() {
  locale -a 2>/dev/null | grep -qiE '^de_DE\.utf-?8$' && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  if ! command -v localedef >/dev/null || [ ! -d /usr/share/i18n/locales ] || [ ! -f /usr/share/i18n/locales/de_DE ]; then
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends locales
  fi
  "${sudo[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "Could not make the de_DE.UTF-8 locale; the locale tests will skip."
}

# Sourced by run.sh and test.sh: installs the Debian packages the build, the
# tests and the app need, when any of them is missing. A package that only
# arrives as a dependency of another one of the machine (not of a package of
# this list) fails tests/packages (scripts/check_packages.py).
STRYDE_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-declarative-dev-tools
  qml6-module-qtquick qml6-module-qtquick-window qml6-module-qtqml-workerscript
  qml6-module-qtqml-models qml6-module-qttest qml6-module-qtqml libgl-dev
  libhidapi-dev libudev-dev libx11-dev libxi-dev libxcb1-dev
  librsvg2-bin fonts-noto-core fonts-noto-cjk
  xvfb xauth xdotool x11-utils
  # Qt's X11 platform loads it at run time for the pointer's shapes
  libxcursor1
  # the program as a Wayland client, and its end-to-end tests under Weston nested in Xvfb
  # and under an X11 window manager
  qt6-wayland weston openbox
  # the desktop tests: a real tray host, and a real notification daemon on a
  # bus of its own (dbus-run-session; dbus-send asks whether it is up)
  trayer dunst dbus-daemon dbus-bin
  # the accessibility test: the session's accessibility bus (AT-SPI) and its
  # Python client, which reads the window's tree as a screen reader does
  at-spi2-core python3-pyatspi
  # the system settings' pointer settings on GNOME, and their end-to-end test
  libglib2.0-bin gsettings-desktop-schemas
  # the Windows syntax check (scripts/check_windows.sh)
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libxml2-utils
  # the fuzzers (scripts/fuzz.sh): clang with libFuzzer
  clang libclang-rt-14-dev
  # bench/run.sh drives the runs and prints the table
  python3
  # the install rules and the Debian package (man pages, the package's library
  # dependencies) and their test (validators, file types, ./build-deb.sh's lintian)
  help2man dpkg-dev desktop-file-utils appstream file lintian
)

stryde_install_deps() {
  local missing=()
  local p
  for p in "${STRYDE_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

stryde_build() {
  local dir="$1"; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}

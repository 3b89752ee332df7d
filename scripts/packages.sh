# Debian packages the build, the tests, the fuzz build (clang and its libFuzzer runtime) and
# the demo need. Sourced by the other scripts.
ORBAL_PACKAGES="cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libglib2.0-dev
  libgtest-dev googletest libbenchmark-dev mplayer mencoder lame sox libsox-fmt-mp3 mp3gain
  xvfb xauth xdotool x11-utils imagemagick fonts-wqy-microhei python3 util-linux
  desktop-file-utils appstream dpkg-dev file libglib2.0-bin dbus-daemon dbus-bin
  clang-14 clang libclang-rt-14-dev"

# Installs whatever of ORBAL_PACKAGES is missing (as root, or through sudo).
orbal_install_packages() {
  local missing=""
  for p in $ORBAL_PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "installing:$missing"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}

# Configures and builds into build/ (Release with debug info).
orbal_build() {
  cmake -S "$ORBAL_ROOT" -B "$ORBAL_ROOT/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$ORBAL_ROOT/build" -j"$(nproc)"
}

# Window tests need an X server: keeps the one we are given (DISPLAY), else starts our own
# Xvfb for as long as the calling script runs.
orbal_ensure_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  ORBAL_DISPLAY_FILE="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$ORBAL_DISPLAY_FILE" >/dev/null 2>&1 &
  ORBAL_XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$ORBAL_DISPLAY_FILE" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$ORBAL_DISPLAY_FILE")"
  trap 'kill "$ORBAL_XVFB_PID" 2>/dev/null; rm -f "$ORBAL_DISPLAY_FILE"; true' EXIT
}

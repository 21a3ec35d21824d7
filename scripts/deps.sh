# Sourced by run and test: installs the Debian 12 packages Orvane needs, only
# when some are missing, through sudo when not root.

orvane_packages=(
    qt6-base-dev qt6-base-private-dev qt6-serialport-dev cmake ninja-build g++ libgtest-dev libbenchmark-dev
    fonts-liberation2 socat xvfb xdotool poppler-utils fp-utils xdg-utils
    clang libclang-rt-14-dev llvm-14 python3 libx11-dev clang-format
    dpkg-dev file help2man lintian appstream man-db dbus
    pkg-config libmosquitto-dev mosquitto mosquitto-clients qtkeychain-qt6-dev
    systemd qt6-l10n-tools weston qt6-wayland
)

orvane_install_missing() {
    local missing=()
    local pkg
    for pkg in "${orvane_packages[@]}" "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

# Configures (once) and builds the tree in build/.
orvane_build() {
    local root="$1"
    shift
    orvane_build_tree "$root" "$root/build" "" "$@"
}

# orvane_build_tree ROOT DIR "TARGET..." CMAKE_ARGS...: configures DIR (once)
# and builds the named targets, or everything when none are named.
orvane_build_tree() {
    local root="$1" dir="$2" targets="$3"
    shift 3
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
    fi
    local args=()
    [ -n "$targets" ] && read -r -a args <<<"$targets"
    if [ ${#args[@]} -gt 0 ]; then
        cmake --build "$dir" --target "${args[@]}" -- --quiet
    else
        cmake --build "$dir" -- --quiet
    fi
}

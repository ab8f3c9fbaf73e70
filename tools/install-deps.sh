#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, when any is missing.
# Further packages (for example those of a developer tool) may be named as arguments.
set -euo pipefail

packages=(
    cmake g++ pkg-config python3
    libirrlicht-dev libbox2d-dev libsdl2-dev libsdl2-mixer-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libx11-dev xvfb xauth libgl1-mesa-dri
    desktop-file-utils appstream man-db
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

install_command="apt-get update && apt-get install -y ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    sudo apt-get update
    sudo DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
else
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run as root: $install_command" >&2
    exit 1
fi

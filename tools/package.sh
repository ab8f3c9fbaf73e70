#!/usr/bin/env bash
# Builds the Debian package vellum_<version>_<arch>.deb in ./build-package from the install
# rules (prefix /usr), with its dependencies computed from the linked libraries. Install it with
# `sudo apt install ./build-package/vellum_*.deb`; `sudo apt remove vellum` removes it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh dpkg-dev
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build-package -j"$(nproc)" --target vellum
(cd build-package && cpack -G DEB)
ls build-package/vellum_*.deb

#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: install what a fresh Debian 12 lacks,
# make the German locale the number tests need, configure and build.
set -euo pipefail

KORV_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev libpng-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core locales python3
)

korv_sudo() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

korv_install_missing() {
  local missing=()
  local p
  for p in "${KORV_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    korv_sudo apt-get update
    korv_sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

korv_make_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    echo "Generating the de_DE.UTF-8 locale"
    korv_sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
  fi
}

# korv_build <build-dir> [extra cmake arguments...]
korv_build() {
  local dir="$1"; shift
  cmake -S "$KORV_ROOT" -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$(nproc)"
}

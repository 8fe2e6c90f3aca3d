#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (and any extra
# packages named as arguments), only those that are missing; does nothing on
# a machine that has them all.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libcli11-dev nlohmann-json3-dev qt6-base-dev pkg-config libgphoto2-dev python3 "$@")

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null

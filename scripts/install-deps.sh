#!/usr/bin/env bash
# Puts every Debian 12 package that Corvane needs to build, run and test on this machine.
# Idempotent: when everything is there it only checks and returns.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config git
  # libraries
  libicu-dev libcurl4-openssl-dev libssl-dev qt6-base-dev qt6-base-dev-tools libgl-dev libcpp-httplib-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  # a display for the GUI, fonts that carry Chinese characters, window tools
  xvfb xauth x11-utils xdotool openbox imagemagick fonts-wqy-microhei fonts-wqy-zenhei
  # web tests: a real proxy, certificates, a reference client
  tinyproxy openssl ca-certificates curl
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
# tinyproxy's package starts a system-wide daemon; the tests start their own on a loopback port.
if command -v systemctl >/dev/null 2>&1; then "${sudo_cmd[@]}" systemctl disable --now tinyproxy >/dev/null 2>&1 || true; fi
"${sudo_cmd[@]}" service tinyproxy stop >/dev/null 2>&1 || true

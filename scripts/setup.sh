#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev snmpd snmp tftp-hpa tftpd-hpa curl busybox-static iproute2 xvfb x11-utils python3 procps
          libxkbcommon-dev ccache qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite xdotool)
packages+=(desktop-file-utils appstream) # validators of the installed desktop entry and metainfo
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    if [[ $(id -u) -ne 0 ]]; then
        echo "Missing Debian packages: ${missing[*]}" >&2
        echo "Run this script as root (or install them with apt-get) and try again." >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # Keep package scripts from starting daemons (snmpd) on this machine.
    own_policy=0
    if [[ ! -e /usr/sbin/policy-rc.d ]]; then
        printf '#!/bin/sh\nexit 101\n' > /usr/sbin/policy-rc.d && chmod +x /usr/sbin/policy-rc.d && own_policy=1
    fi
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
    if ((own_policy)); then rm -f /usr/sbin/policy-rc.d; fi
fi

#!/usr/bin/env bash
# Installs the Debian packages the build needs when any is missing.
# As root it runs apt-get itself; otherwise it prints the one command to run and fails.
set -euo pipefail

packages=(cmake ninja-build g++ make libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
          qt6-base-dev fonts-dejavu-core clang libclang-rt-dev locales
          libsqlite3-dev munge slurmctld slurmd slurm-client sqlite3 ccache
          qt6-svg-dev help2man desktop-file-utils dpkg-dev file)
# make format-check and make tidy: the formatter and the static checks.
packages+=(clang-format clang-tidy)
# The sanitized tree links with lld, four times faster than the default linker there.
packages+=(lld)
# The user manual's test reads the PDF with pdfinfo, pdftotext and pdfimages.
packages+=(poppler-utils)
# The Windows build: MinGW-w64 with POSIX threads (std::thread), and 64-bit Wine to run its tests (wine64,
# and wine for the wine, wineboot and wineserver commands).
packages+=(g++-mingw-w64-x86-64-posix wine64 wine)

missing=()
for pkg in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    # The munge and Slurm packages start their daemons system-wide when installed. The tests run private ones
    # of their own (tests/slurm/slurm-cluster.sh), so a policy-rc.d that refuses every start is in place for
    # the install, unless the machine already has one.
    if [ ! -e /usr/sbin/policy-rc.d ]; then
        printf '#!/bin/sh\n# Placed by ensure-packages.sh for one apt-get run: start no services.\nexit 101\n' \
            >/usr/sbin/policy-rc.d
        chmod 0755 /usr/sbin/policy-rc.d
        trap 'rm -f /usr/sbin/policy-rc.d' EXIT
    fi
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run: sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi

#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Only what is missing is installed; as root, or through sudo.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config clang-format
  qt6-base-dev                # Qt 6 Widgets, Network and Test
  libxcb1-dev                 # whether the display a program is given answers
  libcurl4-openssl-dev        # urlcheck (HTTP) and alertmail (SMTP, STARTTLS, AUTH)
  libasound2-dev              # the alarm sound
  libsystemd-dev              # the service's notices to systemd (sd_notify: ready, watchdog)
  libgtest-dev                # tests
  clang libclang-rt-14-dev    # fuzz targets: libFuzzer, ASan and UBSan of clang 14
  fonts-noto-cjk              # Japanese texts in the windows
  ca-certificates openssl     # TLS, and the test certificate authority
  python3 python3-aiosmtpd    # SMTP server of the end-to-end tests
  xvfb xauth x11-utils        # the real windows: screenshots, window properties
  dbus at-spi2-core gir1.2-atspi-2.0 python3-gi  # pressing their buttons as assistive tools do
  iproute2 procps             # loopback addresses of the mail tests, process tools
  dpkg-dev                    # the Debian package: its dependencies (dpkg-shlibdeps)
  libfaketime                 # the daily reactivation's test runs the monitor across a midnight
  jq                          # --status --json read as a script reads it
  prometheus                  # promtool: the metrics file checked as Prometheus reads it
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"

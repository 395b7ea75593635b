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
  libdtl-dev                  # the history's line diff (header only, compiled in)
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
  time                        # benchmarks: a program's peak memory (GNU time)
  jq                          # --status --json read as a script reads it
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
updated=""
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -q
  updated=1
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Servers that only tests use, each installed without a system instance:
# never started or enabled, so nothing of the machine answers on their ports.
#   postfix: the end-to-end mail test runs an instance of its own with its
#     own configuration; other tests bind port 25 of loopback addresses.
#   prometheus: for its promtool, which checks the metrics file.
quiet_servers=()
for p in postfix prometheus; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || quiet_servers+=("$p")
done
if [ ${#quiet_servers[@]} -gt 0 ]; then
  echo "Installing: ${quiet_servers[*]} (no system instance)"
  [ -n "$updated" ] || $sudo apt-get update -q
  echo "postfix postfix/main_mailer_type select No configuration" | $sudo debconf-set-selections
  policy=/usr/sbin/policy-rc.d
  own_policy=""
  if [ ! -e "$policy" ]; then
    # Refuses every service start while the packages install.
    printf '#!/bin/sh\nexit 101\n' | $sudo tee "$policy" >/dev/null
    $sudo chmod 755 "$policy"
    own_policy=1
    trap '$sudo rm -f "$policy"' EXIT
  fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
    "${quiet_servers[@]}"
  if [ -n "$own_policy" ]; then
    $sudo rm -f "$policy"
    trap - EXIT
  fi
  # Not at boot either (systemctl also disables the SysV links, offline too).
  for p in "${quiet_servers[@]}"; do
    if command -v systemctl >/dev/null; then
      $sudo systemctl disable "$p.service" >/dev/null 2>&1 || true
      if [ -d /run/systemd/system ]; then $sudo systemctl stop "$p.service" || true; fi
    elif command -v update-rc.d >/dev/null; then
      $sudo update-rc.d "$p" disable >/dev/null 2>&1 || true
    fi
  done
fi
# The mail test's STARTTLS uses Debian's stock certificate.
if [ ! -e /etc/ssl/certs/ssl-cert-snakeoil.pem ] && command -v make-ssl-cert >/dev/null; then
  $sudo make-ssl-cert generate-default-snakeoil
fi

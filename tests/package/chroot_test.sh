#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 chroot (debootstrap,
# from the archive this machine's apt uses) the way an operator does, and
# checks what they would see: the programs owned by root and not writable by
# the service's user, the user and its data folder in /var/lib/orviswatch,
# the desktop launcher, the unit enabled by hand and its service start
# running as that user with the unit's environment and its first pass
# written there, the verbs, the data of the old layout moved on an upgrade,
# and removal stopping nothing it should not and keeping the data folder.
#   tests/package/chroot_test.sh PACKAGE.deb [CHROOT_FOLDER]
# As root; a chroot folder given is reused (its base system kept).
set -euo pipefail
deb="$(realpath "$1")"
root="${2:-/var/tmp/orviswatch-chroot}"
mirror=$(grep -h -m1 -o 'http[^ ]*/debian$' /etc/apt/sources.list.d/*.sources \
  /etc/apt/sources.list 2>/dev/null | head -1 || true)
[ -n "$mirror" ] || { echo "no Debian mirror in this machine's apt sources" >&2; exit 2; }

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }
fail() { echo "FAIL: $*" >&2; exit 1; }
service=""
cleanup() {
  [ -z "$service" ] || kill -KILL "$service" 2>/dev/null || true
  umount "$root/proc" 2>/dev/null || true
}
trap cleanup EXIT

if [ ! -x "$root/usr/bin/apt-get" ]; then
  command -v debootstrap > /dev/null || apt-get install -y -q debootstrap > /dev/null
  debootstrap --variant=minbase bookworm "$root" "$mirror" > "$root.debootstrap.log" 2>&1 \
    || { tail "$root.debootstrap.log"; fail "debootstrap"; }
fi
mount -t proc proc "$root/proc"
# A fresh start for the package: an earlier run's install, user and folder go.
in_root sh -c 'dpkg --purge orviswatch > /dev/null 2>&1; userdel orviswatch 2>/dev/null; rm -rf /opt/orviswatch /var/lib/orviswatch /tmp/home; true'
cp "$deb" "$root/tmp/"
in_root apt-get update -q > /dev/null
# systemd for systemctl and the unit check; the service itself is not started in a chroot.
DEBIAN_FRONTEND=noninteractive in_root apt-get install -y -q --no-install-recommends \
  systemd "/tmp/$(basename "$deb")" > "$root.install.log" 2>&1 || { tail -20 "$root.install.log"; fail "apt install"; }
echo "installed: $(in_root dpkg-query -W -f='${Package} ${Version}' orviswatch)"

in_root id orviswatch > /dev/null || fail "no user orviswatch"
as_user() { in_root runuser -u orviswatch -- "$@"; }
# The programs: root's, and nothing in their folder the service's user may change.
[ -z "$(in_root find /opt/orviswatch ! -user root -o -perm /022)" ] || fail "/opt/orviswatch not root's"
! as_user test -w /opt/orviswatch/OrvisWatch && ! as_user test -w /opt/orviswatch || fail "writable"
# The data: the user's, 0750, with the alarm sound of the first install.
[ "$(in_root stat -c %U:%G:%a /var/lib/orviswatch)" = "orviswatch:orviswatch:750" ] || fail "data folder"
[ "$(in_root stat -c %U /var/lib/orviswatch/buzzer.wav)" = "orviswatch" ] || fail "buzzer.wav"
# A desktop user's own data folder, made by the launcher of the desktop entry.
grep -qx 'Exec=/opt/orviswatch/orviswatch-desktop' "$root/usr/share/applications/orviswatch.desktop" \
  || fail "desktop entry"
[ -f "$root/usr/share/icons/hicolor/48x48/apps/orviswatch.png" ] || fail "icon"
in_root mkdir -p /tmp/home && in_root chown orviswatch /tmp/home
as_user env HOME=/tmp/home /opt/orviswatch/orviswatch-desktop --version > /dev/null || fail "launcher"
[ -f "$root/tmp/home/.local/share/orviswatch/buzzer.wav" ] || fail "desktop data folder"
[ -z "$(ls "$root/etc/systemd/system/multi-user.target.wants/" 2>/dev/null | grep orviswatch)" ] \
  || fail "the package enabled the service"
in_root systemd-analyze verify /lib/systemd/system/orviswatch.service || fail "unit"
in_root systemctl enable orviswatch.service 2>&1 | grep -v '^Created symlink' || true
[ -L "$root/etc/systemd/system/multi-user.target.wants/orviswatch.service" ] || fail "enable"

# What the unit runs, as the unit runs it: the service start, as the user,
# in its working folder with its environment (no systemd runs in a chroot).
unit="$root/lib/systemd/system/orviswatch.service"
exec_start=$(sed -n 's/^ExecStart=//p' "$unit")
[ "$exec_start" = '"/opt/orviswatch/OrvisWatch" OrvisWatchService' ] || fail "ExecStart: $exec_start"
environment=$(sed -n 's/^Environment=//p' "$unit")
workdir=$(sed -n 's/^WorkingDirectory=//p' "$unit")
[ "$environment" = "ORVIS_DATA=/var/lib/orviswatch" ] && [ "$workdir" = /var/lib/orviswatch ] \
  || fail "unit environment: $environment in $workdir"
data=/var/lib/orviswatch
as_user /opt/orviswatch/OrvisWatch --version
# One job for the first pass, a minute after the start, with its baseline.
as_user sh -c "printf '[COMMON]\r\nCHECKINTERVAL=1\r\nMETRICSFILE=orviswatch.prom\r\n' > $data/ORVIS.ini
  mkdir $data/info
  printf '[COMMON]\r\nNO=1\r\nURI=/:1\r\nNAME=root\r\nTYPE=DRIVE\r\nMAILGROUP=-1\r\n' > $data/info/1.ini"
as_user env "$environment" /opt/orviswatch/OrvisWatch --capture 1 > /dev/null || fail "--capture"
# chroot and env exec what follows, so $! is the monitor itself (runuser
# would stay between as its parent and not wait for it on SIGTERM).
chroot --userspec=orviswatch:orviswatch "$root" /usr/bin/env -i PATH=/usr/bin:/bin LANG=C.UTF-8 \
  HOME="$data" "$environment" sh -c "cd '$workdir' && exec /opt/orviswatch/OrvisWatch OrvisWatchService" &
service=$!
wait_log() {
  for _ in $(seq "$2"); do
    log=$(cat "$root$data"/syslog/*.txt 2>/dev/null | iconv -f CP932 -t UTF-8 || true)
    case "$log" in *"$1"*) return 0 ;; esac
    sleep 0.2
  done
  return 1
}
wait_log バックグラウンドへ移行しました。 50 || fail "service start: $log"
rc=0; as_user env "$environment" /opt/orviswatch/OrvisWatch --check > /dev/null 2>&1 || rc=$?
[ $rc -eq 3 ] || fail "--check while the service runs: $rc"
wait_log 周期タイマー再設定しました。 400 || fail "first pass: $(printf '%s\n' "$log" | tail -3)"
# The metrics follow the pass's last log line.
for _ in $(seq 50); do [ -f "$root$data/orviswatch.prom" ] && break; sleep 0.1; done
grep -q "^CHECK=1" "$root$data/info/1.ini" || fail "result of the first pass"
for f in Status.tmp orviswatch.prom info/1.ini src/1.ini; do
  [ "$(in_root stat -c %U "$data/$f")" = orviswatch ] || fail "$f not written by orviswatch"
done
grep -q '^orviswatch_jobs{result="ok"} 1$' "$root$data/orviswatch.prom" || fail "metrics"
as_user env "$environment" /opt/orviswatch/OrvisWatch --status > /dev/null || fail "--status"
kill -TERM $service
wait $service || true
log=$(cat "$root$data"/syslog/*.txt | iconv -f CP932 -t UTF-8 | tr -d "\r")
[ "$(printf '%s\n' "$log" | tail -1 | sed 's/.*,//')" = "終了" ] || fail "stop: $(printf '%s\n' "$log" | tail -3)"
rc=0; as_user env "$environment" /opt/orviswatch/OrvisWatch --status > /dev/null || rc=$?
[ $rc -eq 3 ] || fail "--status after the stop: $rc"

# The upgrade from the layout with the data among the programs: what is not
# the package's moves over, never onto data already there.
in_root sh -c 'mkdir -p /opt/orviswatch/userMail /opt/orviswatch/info && echo old > /opt/orviswatch/userMail/1.sub
  echo old > /opt/orviswatch/info/1.ini && chown -R orviswatch:orviswatch /opt/orviswatch'
in_root /var/lib/dpkg/info/orviswatch.postinst configure 2.6.0-1 || fail "postinst of an upgrade"
[ "$(cat "$root$data/userMail/1.sub")" = old ] && [ ! -e "$root/opt/orviswatch/userMail" ] || fail "data moved"
grep -q "^CHECK=1" "$root$data/info/1.ini" && [ -e "$root/opt/orviswatch/info/1.ini" ] || fail "data kept"
[ "$(in_root stat -c %U /opt/orviswatch)" = root ] || fail "folder given back to root"
in_root rm -rf /opt/orviswatch/info

in_root apt-get remove -y -q orviswatch > /dev/null 2>&1 || fail "apt remove"
[ ! -e "$root/opt/orviswatch/OrvisWatch" ] || fail "programs left after removal"
[ -f "$root$data/info/1.ini" ] && [ -d "$root$data/syslog" ] || fail "data folder lost on removal"
in_root id orviswatch > /dev/null || fail "user lost on removal"
echo "PASS: installed with the programs root's and the data in $data, enabled, service start run as" \
  "orviswatch with its first pass written there, the old layout moved, removed with the data kept"

#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 chroot (debootstrap,
# from the archive this machine's apt uses) the way an operator does, and
# checks what they would see: the user and its folder, the unit enabled by
# hand and its service start running as that user, the verbs, and removal
# stopping nothing it should not and keeping the data folder.
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
in_root sh -c 'dpkg --purge orviswatch > /dev/null 2>&1; userdel orviswatch 2>/dev/null; rm -rf /opt/orviswatch; true'
cp "$deb" "$root/tmp/"
in_root apt-get update -q > /dev/null
# systemd for systemctl and the unit check; the service itself is not started in a chroot.
DEBIAN_FRONTEND=noninteractive in_root apt-get install -y -q --no-install-recommends \
  systemd "/tmp/$(basename "$deb")" > "$root.install.log" 2>&1 || { tail -20 "$root.install.log"; fail "apt install"; }
echo "installed: $(in_root dpkg-query -W -f='${Package} ${Version}' orviswatch)"

in_root id orviswatch > /dev/null || fail "no user orviswatch"
[ "$(in_root stat -c %U:%G /opt/orviswatch)" = "orviswatch:orviswatch" ] || fail "folder owner"
[ -x "$root/opt/orviswatch/OrvisWatch" ] && [ -f "$root/opt/orviswatch/buzzer.wav" ] || fail "files"
[ -z "$(ls "$root/etc/systemd/system/multi-user.target.wants/" 2>/dev/null | grep orviswatch)" ] \
  || fail "the package enabled the service"
in_root systemd-analyze verify /lib/systemd/system/orviswatch.service || fail "unit"
in_root systemctl enable orviswatch.service 2>&1 | grep -v '^Created symlink' || true
[ -L "$root/etc/systemd/system/multi-user.target.wants/orviswatch.service" ] || fail "enable"

# What the unit runs, as the unit runs it: the service start, as the user.
exec_start=$(sed -n 's/^ExecStart=//p' "$root/lib/systemd/system/orviswatch.service")
[ "$exec_start" = '"/opt/orviswatch/OrvisWatch" OrvisWatchService' ] || fail "ExecStart: $exec_start"
in_root runuser -u orviswatch -- /opt/orviswatch/OrvisWatch --version
# chroot and env exec what follows, so $! is the monitor itself (runuser
# would stay between as its parent and not wait for it on SIGTERM).
chroot --userspec=orviswatch:orviswatch "$root" /usr/bin/env -i PATH=/usr/bin:/bin LANG=C.UTF-8 \
  HOME=/opt/orviswatch sh -c 'cd /opt/orviswatch && exec ./OrvisWatch OrvisWatchService' &
service=$!
for _ in $(seq 50); do
  log=$(cat "$root"/opt/orviswatch/syslog/*.txt 2>/dev/null | iconv -f CP932 -t UTF-8 || true)
  case "$log" in *バックグラウンドへ移行しました。*) break ;; esac
  sleep 0.2
done
case "$log" in *バックグラウンドへ移行しました。*) ;; *) fail "service start: $log" ;; esac
set +e
in_root runuser -u orviswatch -- /opt/orviswatch/OrvisWatch --check > /dev/null 2>&1
[ $? -eq 3 ] || fail "--check while the service runs"
set -e
kill -TERM $service
wait $service || true
log=$(cat "$root"/opt/orviswatch/syslog/*.txt | iconv -f CP932 -t UTF-8 | tr -d "\r")
[ "$(printf '%s\n' "$log" | tail -1 | sed 's/.*,//')" = "終了" ] || fail "stop: $(printf '%s\n' "$log" | tail -3)"

in_root apt-get remove -y -q orviswatch > /dev/null 2>&1 || fail "apt remove"
[ ! -e "$root/opt/orviswatch/OrvisWatch" ] || fail "programs left after removal"
[ -d "$root/opt/orviswatch/syslog" ] || fail "data folder lost on removal"
in_root id orviswatch > /dev/null || fail "user lost on removal"
echo "PASS: installed, enabled, service start run as orviswatch, removed with the data folder kept"

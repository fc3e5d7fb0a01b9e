#!/usr/bin/env bash
# Proves the README's two commands on a fresh machine: makes a minimal Debian 12 root with
# debootstrap (git, make and sudo added, nothing else), clones this checkout's committed
# state into it and runs `make demo` and `make test` there as an ordinary user with sudo,
# printing each command's time and result. Needs root, debootstrap (installed when missing)
# and the Debian mirror this machine's apt uses. Not part of `make test`.
#
#   FRESH_KEEP=1    keep the root afterwards (its path is printed)
#   FRESH_ROOT=DIR  where to make it (default: a new folder in /var/tmp)
#   FRESH_AS=root   clone into root's home folder (mode 700, closed to other users) and run
#                   both commands as root, as many people and CI images do
set -euo pipefail
[ "$(id -u)" -eq 0 ] || { echo "fresh-machine: run as root (it mounts and chroots)" >&2; exit 1; }
src=$(cd "$(dirname "$0")/.." && pwd)
root=${FRESH_ROOT:-$(mktemp -d /var/tmp/fresh-debian.XXXXXX)}
chmod 755 "$root"  # the new system's "/": everyone must reach into it
log=$root.log

# The mirror and suites this machine's apt uses, so the new root reaches the same archive.
sources=/etc/apt/sources.list.d/debian.sources
if [ -f "$sources" ]; then
  mirror=$(awk '/^URIs:/ { print $2; exit }' "$sources")
else
  sources=/etc/apt/sources.list
  mirror=$(awk '$1 == "deb" && $0 !~ /security/ { print $2; exit }' "$sources")
fi
[ -n "$mirror" ] || { echo "fresh-machine: no Debian mirror found in $sources" >&2; exit 1; }

mounts=()
cleanup() {
  set +e
  # Unmount everything first, innermost last mounted first, and remove nothing while any
  # mount is still in place: a removal through a bind mount would reach the host.
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount "${mounts[$i]}" 2>/dev/null || umount -l "${mounts[$i]}"
  done
  if grep -q " $root/" /proc/mounts; then
    echo "fresh-machine: still mounted below $root; left in place" >&2
  elif [ -n "${FRESH_KEEP:-}" ]; then
    echo "fresh-machine: root kept at $root"
  else
    rm -rf "$root"
  fi
}
trap cleanup EXIT
mount_in() {  # mount_in TARGET ARGS...: mount and remember it for the clean-up
  local target=$root$1
  shift
  mkdir -p "$target"
  mount "$@" "$target"
  mounts+=("$target")
}

seconds() { date +%s; }
t0=$(seconds)
if ! command -v debootstrap >/dev/null; then
  # A mirror in mid-sync fails one index or another; debootstrap comes from the main one.
  apt-get update -qq || echo "fresh-machine: apt-get update failed; going on with the lists there are" >&2
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null
fi
echo "fresh-machine: debootstrap bookworm into $root (log: $log)"
debootstrap --variant=minbase --include=git,make,sudo,ca-certificates bookworm "$root" "$mirror" >"$log" 2>&1 ||
  { tail -n 20 "$log" >&2; exit 1; }
t1=$(seconds)
echo "fresh-machine: minimal Debian 12 made in $((t1 - t0)) s"

# The same apt sources as this machine (updates and security included).
rm -f "$root/etc/apt/sources.list"
cp "$sources" "$root/etc/apt/$( [ "$sources" = /etc/apt/sources.list ] && echo sources.list || echo sources.list.d/debian.sources)"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true

mount_in /proc -t proc proc
mount_in /sys -t sysfs sysfs
mount_in /dev --bind /dev
mount_in /dev/pts -t devpts devpts
mount_in /dev/shm -t tmpfs -o mode=1777 tmpfs
mount_in /tmp -t tmpfs -o mode=1777 tmpfs

if [ "${FRESH_AS:-}" = root ]; then
  home=/root
  chmod 700 "$root/root"
  git clone -q --no-local "$src" "$root/root/project"
else
  # A user as the README expects one: not root, with sudo.
  home=/home/dev
  chroot "$root" useradd -m -s /bin/bash dev
  echo 'dev ALL=(ALL) NOPASSWD:ALL' >"$root/etc/sudoers.d/dev"
  git clone -q --no-local "$src" "$root/home/dev/project"
  chroot "$root" chown -R dev:dev /home/dev/project
fi
echo "fresh-machine: the clone lies in $home/project; the commands run as ${FRESH_AS:-dev}"

run() {  # run NAME COMMAND: one README command in the fresh root, timed
  local start rc who=(su dev -c)
  [ "${FRESH_AS:-}" = root ] && who=(bash -c)
  start=$(seconds)
  echo "fresh-machine: $2"
  set +e
  chroot "$root" /usr/bin/env -i HOME=$home PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin \
    "${who[@]}" "cd ~/project && $2" >"$root.$1.log" 2>&1
  rc=$?
  set -e
  tail -n "${FRESH_TAIL:-15}" "$root.$1.log"
  echo "fresh-machine: '$2' ended with $rc after $(($(seconds) - start)) s (log: $root.$1.log)"
  return $rc
}
status=0
run demo "make demo" || status=1
run test "make test" || status=1
echo "fresh-machine: all done in $(($(seconds) - t0)) s, $([ $status -eq 0 ] && echo 'both commands passed' || echo 'A COMMAND FAILED')"
exit $status

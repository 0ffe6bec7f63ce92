#!/usr/bin/env bash
# Installs the built package into a fresh, minimal Debian 12 root and tries it there: the version,
# a clean-up of an example drawing, and the window under Xvfb for a few seconds. Not run by CI: it
# downloads a whole system. Usage: tools/try-package.sh [--root DIR] [PACKAGE.deb]
# (--root keeps the system in DIR and reuses it on the next try; by default it is removed.)
set -euo pipefail
cd "$(dirname "$0")/.."

root=""
while (($#)); do
    case $1 in
        --root) root=$2; shift 2 ;;
        *) break ;;
    esac
done
package=${1:-$(ls build/lintrel_*_amd64.deb 2>/dev/null | tail -n 1)}
if [[ ! -f $package ]]; then
    echo "try-package: no package; build it with: cmake --build build --target package" >&2
    exit 1
fi
if ((EUID != 0)); then
    echo "try-package: debootstrap and chroot need root" >&2
    exit 1
fi

command -v debootstrap >/dev/null ||
    { apt-get update -qq && apt-get install -y -qq --no-install-recommends debootstrap; }

# The mirror this machine's own apt sources use.
mirror=$(apt-get indextargets --format '$(REPO_URI)' 'Codename: bookworm' 'Component: main' |
    grep -v security | head -n 1)
mirror=${mirror:-http://deb.debian.org/debian/}

if [[ -z $root ]]; then
    root=$(mktemp -d /var/tmp/lintrel-try.XXXXXX)
    chmod 755 "$root"  # apt downloads as the user _apt, who must reach the root's folders
    trap 'umount -R "$root/proc" 2>/dev/null || true; rm -rf --one-file-system "$root"' EXIT
else
    trap 'umount -R "$root/proc" 2>/dev/null || true' EXIT
fi
if [[ ! -f $root/etc/debian_version ]]; then
    echo "== debootstrap bookworm from $mirror into $root"
    debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
        { tail -n 20 "$root.debootstrap.log"; exit 1; }
    rm -f "$root.debootstrap.log"
fi
mkdir -p "$root/proc"
mount -t proc proc "$root/proc"

in_root() { chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive XDG_RUNTIME_DIR=/tmp/runtime-root "$@"; }

echo "== apt-get install ./$(basename "$package") (with xvfb and xauth to try the window)"
cp "$package" "$root/tmp/"
cp examples/duplicates.dxf "$root/tmp/"
in_root apt-get update -qq
in_root apt-get install -y -qq "./tmp/$(basename "$package")" xvfb xauth >"$root/tmp/apt.log" 2>&1 ||
    { tail -n 30 "$root/tmp/apt.log"; exit 1; }
in_root dpkg-query -W -f='${Package} ${Version} ${Status}\n' lintrel
in_root ls /usr/share/doc/lintrel
install -d -m 700 "$root/tmp/runtime-root"

echo "== lintrel-cli --version"
in_root lintrel-cli --version

echo "== lintrel-cli --defaults --remove-duplicates --join /tmp/duplicates.dxf"
in_root lintrel-cli --defaults --remove-duplicates --join /tmp/duplicates.dxf
ls -l "$root/tmp/duplicates-Cut.dxf"

echo "== lintrel under xvfb-run for 5 seconds"
status=0
in_root timeout 5 xvfb-run -a lintrel /tmp/duplicates.dxf >"$root/tmp/window.log" 2>&1 || status=$?
cat "$root/tmp/window.log"
# timeout ends a window that is still up with 124: the window started and stayed open.
if ((status != 124)); then
    echo "try-package: lintrel ended early with status $status" >&2
    exit 1
fi
echo "== the window was up for 5 seconds; the package works on a fresh Debian 12"

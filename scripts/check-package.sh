#!/usr/bin/env bash
# Builds the .deb, installs it on this machine with apt-get as a user would, tries the installed
# programs and files, and removes the package again with whatever it pulled in. The machine is left
# as it was found, after a failure too. Needs root or sudo, and the packages of install-deps.sh.
set -euo pipefail

if [ "${1:-}" = --in-display ]; then
    # Second half, under xvfb-run: a bare X server without a window manager, which never answers
    # the window's request to be maximised.
    screen_size=$2
    export XDG_RUNTIME_DIR=$3
    qvprt &
    pid=$!
    visible() { xdotool search --onlyvisible --name '^QvprtTest$' 2>/dev/null || true; }
    full=
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || { echo "check-package: qvprt ended at start" >&2; exit 1; }
        for w in $(visible); do
            size=$(xdotool getwindowgeometry "$w" | sed -n 's/^ *Geometry: //p')
            if [ "$size" = "$screen_size" ]; then
                full=$w
            else
                # The start-up message (no printer on this machine): answer it as a user would.
                xdotool windowfocus --sync "$w" key Return 2>/dev/null || true
            fi
        done
        [ -n "$full" ] && break
        sleep 0.1
    done
    if [ -z "$full" ]; then
        echo "check-package: qvprt shows no window of the screen's size ($screen_size):" >&2
        for w in $(visible); do xdotool getwindowgeometry "$w" >&2; done
        kill "$pid" 2>/dev/null || true
        exit 1
    fi
    sleep 2
    ok=1
    kill -0 "$pid" 2>/dev/null || { echo "check-package: qvprt ended while shown" >&2; ok=0; }
    visible | grep -qx "$full" || { echo "check-package: the window went away" >&2; ok=0; }
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    [ "$ok" = 1 ] && echo "check-package: qvprt showed its window at $screen_size for 2 s"
    [ "$ok" = 1 ]
    exit
fi

cd "$(dirname "$0")/.."
repo=$(pwd)
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
apt_get() {
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -q -y -o DPkg::Lock::Timeout=300 "$@"
}
fail() {
    echo "check-package: $*" >&2
    exit 1
}
installed_packages() {
    dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' | awk '$1 == "ii" { print $2 }' | sort
}

# Two checks at once would install and remove the same package under each other.
exec 9>"${TMPDIR:-/tmp}/qvprt-check-package.lock"
flock 9

if dpkg-query -W -f='${db:Status-Abbrev}' qvprt 2>/dev/null | grep -q '^[ih]'; then
    fail "qvprt is already installed here; this check would replace and remove it (apt-get purge qvprt first)"
fi

work=$(mktemp -d)
# apt reads the .deb from here as its own unprivileged user.
chmod 755 "$work"
qvprt_installed=0
# The terminal's outputs, for a cleanup that a signal starts inside a redirected command.
exec 3>&1 4>&2
cleanup() {
    local status=$?
    set +e
    exec 1>&3 2>&4
    if [ "$qvprt_installed" = 1 ]; then
        if dpkg-query -W -f='${db:Status-Abbrev}' qvprt 2>/dev/null | grep -q '^[ihrc]'; then
            apt_get purge qvprt >/dev/null
        fi
        # What the install pulled in and nothing else needs; packages that were here stay.
        mapfile -t pulled < <(comm -13 "$work/before" <(installed_packages) |
            grep -Fx -f <(apt-mark showauto))
        if [ ${#pulled[@]} -gt 0 ]; then
            echo "check-package: removing what the install pulled in: ${pulled[*]}"
            apt_get purge "${pulled[@]}" >/dev/null
        fi
        left=$(comm -13 "$work/before" <(installed_packages))
        [ -z "$left" ] || { echo "check-package: left installed: $left" >&2; status=1; }
        for f in "${package_files[@]}" /usr/share/doc/qvprt; do
            if [ -e "$f" ] || [ -L "$f" ]; then
                echo "check-package: left behind: $f" >&2
                status=1
            fi
        done
    fi
    rm -rf "$work"
    [ "$status" = 0 ] && echo "check-package: passed" || echo "check-package: FAILED" >&2
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

echo "check-package: building the package"
rm -f build/package/qvprt_*.deb
if ! { cmake --preset package && cmake --build --preset package -j "${JOBS:-$(nproc)}"; } \
    >"$work/build.log" 2>&1; then
    tail -n 40 "$work/build.log" >&2
    fail "the package did not build"
fi
debs=(build/package/qvprt_*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "expected one qvprt_*.deb in build/package, found: ${debs[*]}"
deb=$repo/${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
echo "check-package: $(basename "$deb"), depends: $(dpkg-deb -f "$deb" Depends)"
# The files the package puts on the system (its folders are shared with other packages).
mapfile -t package_files < <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }')

installed_packages >"$work/before"
echo "check-package: installing"
qvprt_installed=1
if ! (cd "$work" && cp "$deb" . && apt_get install "./$(basename "$deb")" >/dev/null); then
    # A fresh machine may not have fetched the package lists yet.
    apt_get update >/dev/null
    (cd "$work" && apt_get install "./$(basename "$deb")" >/dev/null) || fail "apt-get install failed"
fi

echo "check-package: checking the installed files"
for f in /usr/bin/qvprt /usr/bin/qvprt-cli /usr/share/applications/qvprt.desktop \
    /usr/share/icons/hicolor/scalable/apps/qvprt.svg /usr/share/doc/qvprt/copyright; do
    [ -f "$f" ] || fail "missing: $f"
done
for size in 16 22 24 32 48 64 128 256; do
    png=/usr/share/icons/hicolor/${size}x${size}/apps/qvprt.png
    file -b "$png" | grep -q "PNG image data, $size x $size" || fail "not a $size px PNG: $png"
done
# udev reads its packages' rules from /lib/udev/rules.d (the same folder as /usr/lib/udev/rules.d
# on a merged /usr).
rule=/lib/udev/rules.d/60-qvprt-printer.rules
cmp -s "$rule" resources/linux/60-qvprt-printer.rules || fail "the udev rule is not at $rule"
desktop-file-validate /usr/share/applications/qvprt.desktop || fail "desktop-file-validate refused the entry"
[ "$(command -v qvprt)" = /usr/bin/qvprt ] || fail "the entry's Exec=qvprt is not /usr/bin/qvprt"
if dpkg-deb -c "$deb" | grep -q 'usr/share/man/man1/qvprt-cli.1.gz'; then
    # Some images keep no manual pages (dpkg path-exclude); elsewhere man must find it.
    if [ -f /usr/share/man/man1/qvprt-cli.1.gz ]; then
        man -w qvprt-cli | grep -qx /usr/share/man/man1/qvprt-cli.1.gz || fail "man does not find qvprt-cli(1)"
    fi
else
    fail "the package has no manual page"
fi

echo "check-package: running qvprt-cli"
got=$(/usr/bin/qvprt-cli --version)
[ "$got" = "qvprt-cli $version" ] || fail "qvprt-cli --version says '$got', the package is $version"
cp tests/cli/data/three-rows.qvk "$work/in.qvk"
/usr/bin/qvprt-cli convert "$work/in.qvk" "$work/out.qvk" || fail "convert to .qvk failed"
cmp "$work/in.qvk" "$work/out.qvk" || fail "a project saved unchanged differs from the one opened"
/usr/bin/qvprt-cli convert "$work/in.qvk" "$work/out.qvu" || fail "convert to .qvu failed"
texts=$(/usr/bin/qvprt-cli dump "$work/out.qvu" --form none | sed -n 's/^ *"text_utf8": \(.*\),$/\1/p' | tr '\n' ' ')
[ "$texts" = '"L1-101" "电源 A相" "KM1:13" ' ] || fail "the U-disk file holds $texts"

echo "check-package: starting qvprt under xvfb-run"
mkdir -m 700 "$work/run"
xvfb-run -a -s "-screen 0 1280x1024x24" "$repo/scripts/check-package.sh" --in-display 1280x1024 \
    "$work/run" || fail "qvprt did not show its window"

echo "check-package: removing the package"
apt_get purge qvprt >/dev/null || fail "apt-get purge failed"
# cleanup checks that nothing is left.

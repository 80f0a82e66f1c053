#!/usr/bin/env bash
# The program as a user gets it, from the build in $1 (sources in $2):
#   - cmake --install into a temporary prefix, which is then read-only (a
#     read-only bind mount in a private mount namespace where `unshare -m`
#     works; everywhere a listing of every file with its size and time is
#     compared before and after, which also holds for root);
#   - stryde (offscreen, with a screenshot) and stryde-cli run from it with an
#     empty HOME: both work and fill the user's data folder, nothing is
#     written under the prefix; --help and --version need no display;
#   - the desktop entry and the AppStream data validate;
#   - the Debian package: its file list and fields, its maintainer scripts
#     where udev does not run, and stryde-cli from the package unpacked with
#     dpkg -x into a temporary root; lintian finds no error in it.
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
id=${STRYDE_APP_ID:?}
version=${STRYDE_VERSION:?}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "--- $*"; }

# A user who never ran the program: empty HOME, no XDG folders of the caller.
user_env() {
    local home=$1
    mkdir -p "$home" "$work/run"
    chmod 700 "$work/run"
    env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_DATA_DIRS -u DISPLAY -u WAYLAND_DISPLAY \
        HOME="$home" XDG_RUNTIME_DIR="$work/run" STRYDE_INSTANCE_ID="stryde-install-test-$$" "${@:2}"
}
listing() { (cd "$1" && find . -printf '%p %s %T@ %m\n' | sort); }

step "install into a temporary prefix"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/stryde bin/stryde-cli \
         share/stryde/setting/apConfig.bin share/stryde/setting/apConfigD.bin share/stryde/setting/pD.bin \
         share/stryde/setting/p10.bin share/stryde/setting/name.bin share/stryde/i18n/English.ini \
         share/stryde/i18n/ChineseSimplified.ini share/stryde/gun/gunData.bin share/stryde/img/logo.ico \
         "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
         "share/icons/hicolor/scalable/apps/$id.svg" "share/icons/hicolor/48x48/apps/$id.png" \
         "share/icons/hicolor/128x128/apps/$id.png" "share/icons/hicolor/256x256/apps/$id.png" \
         share/man/man1/stryde.1.gz share/man/man1/stryde-cli.1.gz \
         share/doc/stryde/copyright share/doc/stryde/changelog.gz lib/udev/rules.d/60-korvex-stryde.rules; do
    [ -f "$prefix/$f" ] || fail "not installed: $f"
done
[ -d "$prefix/share/stryde/macro" ] || fail "not installed: share/stryde/macro/"
[ ! -e "$prefix/bin/modules" ] || fail "a modules/ folder beside the installed programs"
[ ! -e "$prefix/share/stryde/qml" ] || fail "the QML is compiled in and must not be installed"
for size in 48 128 256; do
    file "$prefix/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "$size x $size" || fail "icon $size is not ${size}x$size"
done

step "--help and --version without a display"
for prog in stryde stryde-cli; do
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/$prog" --version 2>&1) || fail "$prog --version: $out"
    [ "$out" = "$prog $version" ] || fail "$prog --version says: $out"
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/$prog" --help 2>&1) || fail "$prog --help: $out"
    grep -q -- "--data-dir" <<<"$out" || fail "$prog --help lists no --data-dir: $out"
    # The man page is made from the same text.
    zcat "$prefix/share/man/man1/$prog.1.gz" | grep -q -- 'data\\-dir' || fail "the man page of $prog lacks --data-dir"
done
zcat "$prefix/share/man/man1/stryde.1.gz" | grep -q -- 'minimized' || fail "the man page of stryde lacks --minimized"

step "run both programs from the read-only prefix with an empty HOME"
before=$(listing "$prefix")
home=$work/home
run_programs() {
    user_env "$home" QT_QPA_PLATFORM=offscreen "$prefix/bin/stryde" --virtual-mouse \
        --screenshot "$work/shot.png" --quit-after-screenshot >"$work/stryde.log" 2>&1 \
        || { cat "$work/stryde.log" >&2; fail "stryde from the prefix"; }
    user_env "$home" "$prefix/bin/stryde-cli" --virtual-mouse devices >"$work/devices.out" 2>"$work/cli.log" \
        || { cat "$work/cli.log" >&2; fail "stryde-cli from the prefix"; }
}
export -f run_programs user_env fail
export prefix home work
if unshare -m true 2>/dev/null; then
    echo "read-only: bind mount in a private mount namespace, and the listing compared"
    unshare -m bash -euc 'mount --bind "$prefix" "$prefix" && mount -o remount,bind,ro "$prefix"
        touch "$prefix/probe" 2>/dev/null && fail "the prefix is still writable"
        run_programs'
else
    echo "read-only: no mount namespace here; the listing of the prefix compared before and after"
    chmod -R a-w "$prefix"
    run_programs
    chmod -R u+w "$prefix"
fi
[ "$(listing "$prefix")" = "$before" ] || { diff <(echo "$before") <(listing "$prefix") >&2; fail "something changed under the prefix"; }
file "$work/shot.png" | grep -q "PNG image data, 1024 x 640" || fail "no screenshot of the window: $(file "$work/shot.png")"
grep -q '"handshake":true' "$work/devices.out" || fail "stryde-cli found no virtual mouse: $(cat "$work/devices.out")"
data=$home/.local/share/stryde/modules
grep -q "data folder $data (the user's data folder; installed defaults: $prefix/share/stryde)" "$work/stryde.log" \
    || { cat "$work/stryde.log" >&2; fail "stryde does not name its data folder"; }
grep -q "data folder $data (the user's data folder" "$work/cli.log" || fail "stryde-cli does not name its data folder"
for f in setting/apConfig.bin setting/p1.bin setting/pD.bin setting/name.bin i18n/English.ini gun/gunData.bin img/logo.ico; do
    [ -f "$data/$f" ] || fail "the user's data folder lacks $f"
done
[ -d "$data/macro" ] || fail "the user's data folder lacks macro/"
cmp -s "$data/setting/pD.bin" "$prefix/share/stryde/setting/pD.bin" || fail "pD.bin is not the installed default"
[ -f "$data/setting/virtualMouse553.json" ] || fail "the virtual mouse kept no state in the user's folder"

step "desktop entry and AppStream data"
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" 2>&1 \
    || { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
grep -q "<id>$id</id>" "$prefix/share/metainfo/$id.metainfo.xml" || fail "the AppStream id is not $id"
# Every catalogued USB identity is a modalias the software centres match.
while IFS== read -r key value; do
    case $key in
        vid) vid=${value^^} ;;
        pid) grep -q "<modalias>usb:v${vid}p${value^^}d\*</modalias>" "$prefix/share/metainfo/$id.metainfo.xml" \
                 || fail "no modalias for $vid:${value^^}" ;;
    esac
done < "$src/modules/setting/apConfig.bin"

step "the Debian package"
(cd "$build" && cpack -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
deb=$(ls "$work"/deb/stryde_"$version"_*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/deb.list"
for f in ./usr/bin/stryde ./usr/bin/stryde-cli ./usr/share/stryde/setting/apConfig.bin ./usr/share/stryde/i18n/English.ini \
         "./usr/share/applications/$id.desktop" "./usr/share/metainfo/$id.metainfo.xml" \
         "./usr/share/icons/hicolor/scalable/apps/$id.svg" "./usr/share/icons/hicolor/256x256/apps/$id.png" \
         ./usr/share/man/man1/stryde.1.gz ./usr/share/man/man1/stryde-cli.1.gz ./usr/share/doc/stryde/copyright \
         ./usr/lib/udev/rules.d/60-korvex-stryde.rules; do
    grep -qxF "$f" "$work/deb.list" || fail "the package lacks $f"
done
if dpkg-deb -c "$deb" | awk '$2 != "root/root"' | grep -q .; then fail "files in the package not owned by root"; fi
depends=$(dpkg-deb -f "$deb" Depends)
grep -q "libqt6quick6" <<<"$depends" || fail "the libraries were not found by dpkg-shlibdeps: $depends"
grep -q "libhidapi-hidraw0" <<<"$depends" || fail "no dependency on hidapi: $depends"
grep -q "qml6-module-qtquick" <<<"$depends" || fail "no dependency on the QML modules: $depends"
dpkg-deb -e "$deb" "$work/control"
for script in postinst postrm; do
    [ -x "$work/control/$script" ] || fail "no executable $script"
    sh -n "$work/control/$script"
done
# Where udev does not run (no /run/udev: a container, a chroot) the scripts do nothing and succeed.
if unshare -m true 2>/dev/null; then
    unshare -m sh -ec 'mount -t tmpfs none /run; sh "$1/postinst" configure; sh "$1/postrm" remove; sh "$1/postrm" purge' \
        sh "$work/control" || fail "the maintainer scripts fail without udev"
fi

# No lintian error (its warnings and notes are for ./build-deb.sh to show).
if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log" >&2; fail "lintian reports errors"; }
fi

root=$work/root
dpkg -x "$deb" "$root"
user_env "$work/home-deb" "$root/usr/bin/stryde-cli" --virtual-mouse devices >"$work/deb-devices.out" 2>"$work/deb-cli.log" \
    || { cat "$work/deb-cli.log" >&2; fail "stryde-cli from the unpacked package"; }
grep -q '"handshake":true' "$work/deb-devices.out" || fail "stryde-cli from the package found no virtual mouse"
cmp -s "$work/home-deb/.local/share/stryde/modules/setting/apConfig.bin" "$root/usr/share/stryde/setting/apConfig.bin" \
    || fail "stryde-cli from the package did not fill the user's folder from /usr/share/stryde"
echo "PASS"

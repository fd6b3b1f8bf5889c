#!/usr/bin/env bash
# Makes the two Debian packages from a build tree, unpacks them into a scratch root and checks
# what an installation would hold, what the packages declare, and that the program runs on the
# library from its own package.
# Usage: tst_packaging.sh BUILD_DIR
set -uo pipefail

build=${1:?usage: tst_packaging.sh BUILD_DIR}
work=$(mktemp -d)
app_pid=
cleanup()
{
    if [[ -n $app_pid ]]; then kill -KILL "$app_pid" 2>/dev/null; fi
    rm -rf "$work"
}
trap cleanup EXIT

. "$(dirname "$0")/../scriptchecks.sh"

arch=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)
version=1.0.0.1
program_deb=$work/out/arbolix_${version}_${arch}.deb
library_deb=$work/out/libdirapi1-standin_${version}_${arch}.deb
root=$work/root
libdir=$root/usr/lib/$multiarch

# --- the packages are made, under exactly their names ---
if ! cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    fail "cpack makes the packages"
    exit 1
fi
expect_equal "cpack makes exactly the program and the library package" \
    "$(basename "$program_deb") $(basename "$library_deb")" \
    "$(cd "$work/out" && ls ./*.deb | sed 's|^\./||' | sort | tr '\n' ' ' | sed 's/ $//')"
[[ -f $program_deb && -f $library_deb ]] || exit 1

# --- what each package installs ---
contents()
{
    dpkg-deb -c "$1" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./|/|' | sort | tr '\n' ' ' \
        | sed 's/ $//'
}
expect_equal "program package holds the program, menu entry, icons, README and screenshots" \
    "$(printf '%s\n' /usr/bin/arbolix /usr/share/applications/arbolix.desktop \
        /usr/share/doc/arbolix/README.md /usr/share/doc/arbolix/docs/about.png \
        /usr/share/doc/arbolix/docs/find.png /usr/share/doc/arbolix/docs/mainwindow.png \
        /usr/share/icons/hicolor/16x16/apps/arbolix.png \
        /usr/share/icons/hicolor/32x32/apps/arbolix.png \
        /usr/share/icons/hicolor/scalable/apps/arbolix.svg | sort | tr '\n' ' ' | sed 's/ $//')" \
    "$(contents "$program_deb")"
expect_equal "library package holds only the library under its soname" \
    "/usr/lib/$multiarch/libdirapi.so.1 /usr/lib/$multiarch/libdirapi.so.1.0.0" \
    "$(contents "$library_deb")"

# --- what each package declares ---
field()
{
    dpkg-deb -f "$1" "$2"
}
# depends_items DEB: the Depends entries one a line, versions dropped
depends_items()
{
    field "$1" Depends | tr ',' '\n' | sed 's/(.*)//; s/^ *//; s/ *$//' | sed '/^$/d'
}
expect_equal "program package name" arbolix "$(field "$program_deb" Package)"
expect_equal "program package version" "$version" "$(field "$program_deb" Version)"
expect_equal "program package architecture" "$arch" "$(field "$program_deb" Architecture)"
if depends_items "$program_deb" | grep -qx libdirapi1; then
    pass "program depends on the virtual library package"
else
    fail "program depends on the virtual library package: $(field "$program_deb" Depends)"
fi
if depends_items "$program_deb" | grep -q standin; then
    fail "program does not name the stand-in: $(field "$program_deb" Depends)"
else
    pass "program does not name the stand-in"
fi
for dep in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6; do
    if depends_items "$program_deb" | grep -qx "$dep"; then
        pass "program depends on $dep (computed)"
    else
        fail "program depends on $dep (computed): $(field "$program_deb" Depends)"
    fi
done
[[ -n $(field "$program_deb" Maintainer) ]] && pass "program has a maintainer" \
    || fail "program has a maintainer"
[[ -n $(field "$program_deb" Section) ]] && pass "program has a section" \
    || fail "program has a section"

expect_equal "library package name" libdirapi1-standin "$(field "$library_deb" Package)"
expect_equal "library package version" "$version" "$(field "$library_deb" Version)"
expect_equal "library provides the virtual package" libdirapi1 "$(field "$library_deb" Provides)"
expect_equal "library stands aside for the real one" libdirapi1 "$(field "$library_deb" Conflicts)"
expect_equal "library takes over files of the real one" libdirapi1 \
    "$(field "$library_deb" Replaces)"
expect_equal "library section" libs "$(field "$library_deb" Section)"
if depends_items "$library_deb" | grep -qx libc6; then
    pass "library depends on libc6 (computed)"
else
    fail "library depends on libc6 (computed): $(field "$library_deb" Depends)"
fi

# --- unpacked: the binary, the library and the menu entry ---
mkdir -p "$root"
dpkg-deb -x "$program_deb" "$root" && dpkg-deb -x "$library_deb" "$root" || {
    fail "packages unpack"
    exit 1
}
program=$root/usr/bin/arbolix

dynamic=$(readelf -d "$program")
if grep -qE '\((RUNPATH|RPATH)\)' <<<"$dynamic"; then
    fail "installed program carries no run path: $(grep -E 'RUNPATH|RPATH' <<<"$dynamic")"
else
    pass "installed program carries no run path"
fi
grep -q 'NEEDED.*\[libdirapi\.so\.1\]' <<<"$dynamic" && pass "program needs libdirapi.so.1" \
    || fail "program needs libdirapi.so.1"
expect_equal "library's soname" "libdirapi.so.1" \
    "$(readelf -d "$libdir/libdirapi.so.1" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')"
expect_equal "soname link points at the library" libdirapi.so.1.0.0 \
    "$(readlink "$libdir/libdirapi.so.1")"
# The five functions are all the library exports: no test control, no class of its own, no
# template code of the standard library.
expect_equal "library exports exactly the five functions" \
    "T an_all_blk T an_all_cmp T an_all_sta T an_exit T get_maxobj" \
    "$(nm -D --defined-only "$libdir/libdirapi.so.1" | awk '{ print $2, $3 }' | sort \
        | tr '\n' ' ' | sed 's/ $//')"

entry=$root/usr/share/applications/arbolix.desktop
if out=$(desktop-file-validate "$entry" 2>&1) && [[ -z $out ]]; then
    pass "desktop-file-validate accepts the menu entry"
else
    fail "desktop-file-validate accepts the menu entry: $out"
fi
expect_equal "menu entry starts the program without arguments" "Exec=arbolix" \
    "$(grep '^Exec=' "$entry")"
expect_equal "menu entry names the themed icon" "Icon=arbolix" "$(grep '^Icon=' "$entry")"

# --- the unpacked program starts on the unpacked library ---
resolved=$(LD_LIBRARY_PATH=$libdir ldd "$program" | awk '$1 == "libdirapi.so.1" { print $3 }')
expect_equal "program loads the unpacked library" "$libdir/libdirapi.so.1" "$resolved"

LD_LIBRARY_PATH=$libdir QT_QPA_PLATFORM=offscreen DIRAPI_DEMO=3x3x3 \
    "$program" WP01 >"$work/app.log" 2>&1 &
app_pid=$!
sleep 1
if kill -0 "$app_pid" 2>/dev/null; then
    pass "unpacked program is up after a second"
    expect_ends_on_sigterm "unpacked program" "$work/app.log"
else
    wait "$app_pid"
    fail "unpacked program is up after a second (ended with status $?)"
    app_pid=
    cat "$work/app.log"
fi

finish packaging

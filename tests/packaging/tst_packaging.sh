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
# The packages carry the version the build was configured with.
version=${ARBOLIX_VERSION:?no version given}
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
sorted()
{
    printf '%s\n' "$@" | sort | tr '\n' ' ' | sed 's/ $//'
}
expect_equal "program package holds the program, its manual, menu entry, metadata, icons and docs" \
    "$(sorted /usr/bin/arbolix /usr/share/man/man1/arbolix.1.gz \
        /usr/share/applications/arbolix.desktop \
        /usr/share/metainfo/example.arbolix.Arbolix.metainfo.xml \
        /usr/share/doc/arbolix/README.md /usr/share/doc/arbolix/changelog.gz \
        /usr/share/doc/arbolix/copyright /usr/share/doc/arbolix/docs/about.png \
        /usr/share/doc/arbolix/docs/find.png /usr/share/doc/arbolix/docs/mainwindow.png \
        /usr/share/icons/hicolor/16x16/apps/arbolix.png \
        /usr/share/icons/hicolor/32x32/apps/arbolix.png \
        /usr/share/icons/hicolor/scalable/apps/arbolix.svg)" \
    "$(contents "$program_deb")"
expect_equal "library package holds the library under its soname, its docs and its one override" \
    "$(sorted "/usr/lib/$multiarch/libdirapi.so.1" "/usr/lib/$multiarch/libdirapi.so.1.0.0" \
        /usr/share/doc/libdirapi1-standin/changelog.gz /usr/share/doc/libdirapi1-standin/copyright \
        /usr/share/lintian/overrides/libdirapi1-standin)" \
    "$(contents "$library_deb")"

# --- Debian's own checks: no error and no warning ---
if out=$(lintian --fail-on error,warning "$program_deb" "$library_deb" 2>&1) \
    && ! grep -qE '^[EW]: ' <<<"$out"; then
    pass "lintian finds no error and no warning"
else
    fail "lintian finds no error and no warning:"$'\n'"$out"
fi

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
expect_equal "program recommends the Wayland platform plugin" qt6-wayland \
    "$(field "$program_deb" Recommends)"

# The stand-in's control files: its shlibs names the virtual package; ldconfig runs through the
# trigger, so there is no maintainer script at all.
mkdir -p "$work/control"
dpkg-deb -e "$library_deb" "$work/control"
expect_equal "library's control files" "control md5sums shlibs triggers" \
    "$(cd "$work/control" && ls | tr '\n' ' ' | sed 's/ $//')"
expect_equal "library's shlibs names the virtual package" "libdirapi 1 libdirapi1" \
    "$(cat "$work/control/shlibs" 2>/dev/null)"
expect_equal "library activates the ldconfig trigger" "activate-noawait ldconfig" \
    "$(cat "$work/control/triggers" 2>/dev/null)"
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

# Hardened as Debian's own programs are: every compilation with the stack protector and
# fortified libc calls, the binaries PIE with full RELRO and bind-now. GCC fortifies only the
# calls whose bounds it knows without proving them safe: the stand-in has such calls, the
# program none.
commands=$(grep '"command":' "$build/compile_commands.json")
expect_equal "every compilation has the stack protector and fortified calls" \
    "$(wc -l <<<"$commands")" \
    "$(grep -- '-fstack-protector-strong' <<<"$commands" | grep -c -- '-D_FORTIFY_SOURCE=2')"
# (Each tool's output is taken whole before it is searched: grep -q at the end of a pipe may end
# the tool early, which pipefail would count as a failure.)
imports=$(nm -D --undefined-only "$libdir/libdirapi.so.1")
grep -qE ' __[a-z]+_chk(@|$)' <<<"$imports" && pass "library calls fortified functions" \
    || fail "library calls fortified functions"
for binary in "$program" "$libdir/libdirapi.so.1"; do
    what=$(basename "$binary")
    expect_equal "$what is position-independent" DYN \
        "$(readelf -h "$binary" | awk '$1 == "Type:" { print $2 }')"
    segments=$(readelf -lW "$binary")
    grep -q GNU_RELRO <<<"$segments" && pass "$what has a RELRO segment" \
        || fail "$what has a RELRO segment"
    dynamic_flags=$(readelf -d "$binary" | grep -E '\(FLAGS(_1)?\)')
    grep -qE '\(FLAGS\).*BIND_NOW' <<<"$dynamic_flags" && pass "$what binds now" \
        || fail "$what binds now: $dynamic_flags"
    imports=$(nm -D --undefined-only "$binary")
    grep -qE ' __stack_chk_fail(@|$)' <<<"$imports" && pass "$what has a stack protector" \
        || fail "$what has a stack protector"
done
grep -qE '\(FLAGS_1\).*PIE' <<<"$(readelf -d "$program")" && pass "program is a PIE" \
    || fail "program is a PIE"

# --- the manual page, the changelogs and the copyright files ---
page=$root/usr/share/man/man1/arbolix.1.gz
if out=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >"$work/page.txt") && [[ -z $out ]]; then
    pass "manual page renders without warnings"
else
    fail "manual page renders without warnings: $out"
fi
missing=
for section in NAME SYNOPSIS DESCRIPTION OPTIONS DISPLAYS KEYS "EXIT STATUS" SIGNALS ENVIRONMENT \
    FILES "SEE ALSO"; do
    grep -qx "$section" "$work/page.txt" || missing+="$section; "
done
expect_equal "manual page has every section" "" "$missing"
grep -q 'DIRAPI_DEMO' "$work/page.txt" && grep -q '/usr/local/pref' "$work/page.txt" \
    && pass "manual page names the library's variables and the display utility" \
    || fail "manual page names the library's variables and the display utility"
for package in arbolix libdirapi1-standin; do
    doc=$root/usr/share/doc/$package
    expect_equal "$package's changelog is the 1.0.0.1 entry" "$version" \
        "$(zcat "$doc/changelog.gz" 2>/dev/null | sed -n '1s/^arbolix (\(.*\)).*/\1/p')"
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
        "$doc/copyright" && grep -qx 'License: Expat' "$doc/copyright" \
        && pass "$package has a machine-readable copyright file" \
        || fail "$package has a machine-readable copyright file"
done

entry=$root/usr/share/applications/arbolix.desktop
if out=$(desktop-file-validate "$entry" 2>&1) && [[ -z $out ]]; then
    pass "desktop-file-validate accepts the menu entry"
else
    fail "desktop-file-validate accepts the menu entry: $out"
fi
expect_equal "menu entry starts the program without arguments" "Exec=arbolix" \
    "$(grep '^Exec=' "$entry")"
expect_equal "menu entry names the themed icon" "Icon=arbolix" "$(grep '^Icon=' "$entry")"

# The software centre's metadata validates and says what the menu entry says.
metainfo=$root/usr/share/metainfo/example.arbolix.Arbolix.metainfo.xml
if out=$(appstreamcli validate --no-net "$metainfo" 2>&1); then
    pass "appstreamcli validates the metadata"
else
    fail "appstreamcli validates the metadata: $out"
fi
# xml_text ELEMENT [LANGUAGE]: the text of every ELEMENT in the metadata in that language
# (untranslated without one), one a line
xml_text()
{
    local lang=${2:+ xml:lang=\"$2\"}
    sed -n "s|^ *<$1$lang\( [^x][^>]*\)\?>\(.*\)</$1>$|\2|p" "$metainfo"
}
expect_equal "metadata launches the menu entry" arbolix.desktop "$(xml_text launchable)"
expect_equal "metadata's name is the menu entry's" "$(sed -n 's/^Name=//p' "$entry")" \
    "$(xml_text name)"
expect_equal "metadata's summary is the menu entry's comment" \
    "$(sed -n 's/^Comment=//p' "$entry")" "$(xml_text summary)"
for lang in de es fr; do
    expect_equal "metadata's $lang summary is the menu entry's $lang comment" \
        "$(sed -n "s/^Comment\[$lang\]=//p" "$entry")" "$(xml_text summary "$lang")"
done
expect_equal "metadata's categories are the menu entry's" \
    "$(sed -n 's/^Categories=//p' "$entry" | tr ';' ' ' | sed 's/ $//')" \
    "$(xml_text category | tr '\n' ' ' | sed 's/ $//')"
expect_equal "metadata's licence" MIT "$(xml_text project_license)"

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

#!/usr/bin/env bash
# The program built against a site's own directory library. Builds the fixture library under a
# name and soname of its own, checks that configuration refuses what is no such library, builds
# the program against the fixture in a second build folder, runs it, and makes its package.
# Usage: tst_sitelibrary.sh SOURCE_DIR SCRATCH_DIR SITE_BUILD_DIR C_COMPILER CMAKE_ARGUMENTS...
# The cmake arguments (generator, build type, compilers, launchers) configure the second build,
# in SITE_BUILD_DIR; the libraries, the call record and the packages go to SCRATCH_DIR. Both are
# emptied first.
set -uo pipefail

usage="usage: tst_sitelibrary.sh SOURCE_DIR SCRATCH_DIR SITE_BUILD_DIR C_COMPILER CMAKE_ARGUMENTS..."
source_dir=${1:?$usage}
scratch=${2:?$usage}
build=${3:?$usage}
cc=${4:?$usage}
shift 4
cmake_arguments=("$@")

app_pid=
cleanup()
{
    if [[ -n $app_pid ]]; then kill -KILL "$app_pid" 2>/dev/null; fi
}
trap cleanup EXIT

. "$(dirname "$0")/../scriptchecks.sh"
started=$SECONDS
step()
{
    echo "== $* (at $((SECONDS - started)) s)"
}

rm -rf "$scratch" "$build"
lib=$scratch/lib
mkdir -p "$lib"
fixture=$source_dir/tests/site/plantfixture.c

# --- the fixture: file libplantdir.so.3.1.0, soname libplantdir.so.3 ---
step "building the fixture library"
library=$lib/libplantdir.so.3.1.0
if ! "$cc" -std=c11 -O1 -fPIC -shared -I"$source_dir" -Wl,-soname,libplantdir.so.3 \
    -o "$library" "$fixture"; then
    fail "the fixture library builds"
    finish "site library"
fi
ln -s libplantdir.so.3.1.0 "$lib/libplantdir.so.3"

# --- what configuration refuses, with one line naming the file and why ---
refused=$scratch/refused
# refuse WHAT PATH REASON [SHOWN]: configuring with PATH stops, saying "PATH" REASON, with the
# path as cmake hands it over (SHOWN, when that differs).
refuse()
{
    local shown=${4:-$2}
    local out
    out=$(cmake -S "$source_dir" -B "$refused" "${cmake_arguments[@]}" \
        -DARBOLIX_DIRAPI_LIBRARY="$2" 2>&1)
    local status=$?
    local said
    said=$(grep -F "ARBOLIX_DIRAPI_LIBRARY: " <<<"$out" | sed 's/^ *//')
    if ((status == 0)); then
        fail "configuration refuses $1 (it went through)"
    elif [[ $said != "ARBOLIX_DIRAPI_LIBRARY: \"$shown\" $3"* || $(wc -l <<<"$said") -ne 1 ]]; then
        fail "configuration refuses $1 on one line naming it"$'\n'"  expected: ARBOLIX_DIRAPI_LIBRARY: \"$shown\" $3"$'\n'"  output: $out"
    else
        pass "configuration refuses $1: ${said#ARBOLIX_DIRAPI_LIBRARY: }"
    fi
    if [[ -f $refused/build.ninja ]]; then
        fail "nothing is generated for $1"
        rm -f "$refused/build.ninja"
    fi
}
step "refusals"
refuse "a missing file" "$lib/libnosuch.so.1" "does not exist"
refuse "a directory" "$lib" "is a directory"
printf 'get_maxobj an_all_sta an_all_cmp an_all_blk an_exit\n' >"$lib/libtext.so"
refuse "a text file" "$lib/libtext.so" "is not a shared library"

printf 'int get_maxobj(void) { return 1; }\n' >"$scratch/other.c"
if "$cc" -m32 -fPIC -shared -nostdlib -o "$lib/libother32.so" "$scratch/other.c" 2>/dev/null; then
    refuse "a 32-bit library" "$lib/libother32.so" "is for another architecture"
else
    echo "SKIP: $cc cannot make a 32-bit library here"
fi

# refuse_fixture WHAT MACRO FILE REASON: the fixture built as FILE with the fault MACRO puts in
# is refused, saying REASON.
refuse_fixture()
{
    if "$cc" -std=c11 -fPIC -shared -I"$source_dir" -D"$2" -o "$lib/$3" "$fixture"; then
        refuse "$1" "$lib/$3" "$4"
    else
        fail "the fixture builds for $1"
    fi
}
refuse_fixture "a library lacking an_all_blk" PLANTFIXTURE_WITHOUT_AN_ALL_BLK \
    libplantdir-noblk.so "lacks an_all_blk"
refuse_fixture "a library whose an_exit is data" PLANTFIXTURE_AN_EXIT_AS_DATA \
    libplantdir-dataexit.so "has an_exit as a data object where a function is needed"

# A library linked against a base library that is not there any more.
base=$scratch/base
mkdir -p "$base"
printf 'int plantbase_maxobj(void) { return 2; }\n' >"$base/base.c"
needy=$lib/libplantdir-needsbase.so
if "$cc" -fPIC -shared -Wl,-soname,libplantbase.so.1 -o "$base/libplantbase.so.1" "$base/base.c" \
    && "$cc" -std=c11 -fPIC -shared -I"$source_dir" -DPLANTFIXTURE_NEEDS_BASE -o "$needy" \
        "$fixture" -L"$base" -l:libplantbase.so.1; then
    rm -rf "$base"
    refuse "a library whose dependency is missing" "$needy" \
        "needs libplantbase.so.1, which cannot be found"
else
    fail "the fixture builds against a base library"
fi

# A sound library in folders whose names the link line or cmake's lists cannot carry.
for folder in "plant ctl" $'plant\tctl' "plant;ctl"; do
    mkdir -p "$scratch/$folder"
    cp "$library" "$scratch/$folder/libplantdir.so.3"
done
refuse "a path with a blank" "$scratch/plant ctl/libplantdir.so.3" "holds white space"
refuse "a path with a tab" "$scratch/plant"$'\t'"ctl/libplantdir.so.3" "holds white space"
# cmake makes each ';'-separated part of a file path absolute before the check sees it.
refuse "a path with a ';'" "$scratch/plant;ctl/libplantdir.so.3" "holds a ';'" \
    "$scratch/plant;$PWD/ctl/libplantdir.so.3"
rm -rf "$refused"

# --- the program against the fixture, in a build folder of its own ---
step "configuring the program against the fixture"
if ! cmake -S "$source_dir" -B "$build" "${cmake_arguments[@]}" \
    -DARBOLIX_DIRAPI_LIBRARY="$library" -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
    >"$scratch/configure.log" 2>&1; then
    cat "$scratch/configure.log"
    fail "the program configures against the fixture"
    finish "site library"
fi
step "building the program"
if ! cmake --build "$build" --target arbolix >"$scratch/build.log" 2>&1; then
    tail -n 40 "$scratch/build.log"
    fail "the program builds against the fixture"
    finish "site library"
fi
program=$build/app/arbolix

dynamic=$(readelf -d "$program")
grep -q 'NEEDED.*\[libplantdir\.so\.3\]' <<<"$dynamic" && pass "program needs libplantdir.so.3" \
    || fail "program needs libplantdir.so.3: $(grep NEEDED <<<"$dynamic")"
grep -q 'NEEDED.*libdirapi' <<<"$dynamic" && fail "program does not need libdirapi.so.1" \
    || pass "program does not need libdirapi.so.1"

# --- the program runs on the fixture: it lists the whole plant and releases it last ---
step "running the program"
calls=$scratch/calls.txt
PLANTFIXTURE_CALLS=$calls QT_QPA_PLATFORM=offscreen "$program" PS01 >"$scratch/app.log" 2>&1 &
app_pid=$!
# The blocks of COOLING, under the last station, are the population's last listing.
for _ in $(seq 600); do
    grep -q '^an_all_blk COOLING ' "$calls" 2>/dev/null && break
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
expect_ends_on_sigterm program "$scratch/app.log"

record=$(cat "$calls" 2>/dev/null)
expect_equal "first call is get_maxobj" get_maxobj "$(head -n1 <<<"$record")"
expect_equal "last call is an_exit" an_exit "$(tail -n1 <<<"$record")"
expect_equal "an_exit is called once" 1 "$(grep -cx an_exit <<<"$record")"
# delivered FUNCTION: the names the fixture delivered from that function, each once, sorted (the
# stations are listed twice: first counted for the progress bar, then filled in)
delivered()
{
    grep "^$1 " <<<"$record" | sed 's/^.* -> 0//' | tr ' ' '\n' | sed '/^$/d' | sort -u
}
expect_equal "stations listed" "PS01 PS02 PS03" "$(delivered an_all_sta | tr '\n' ' ' | sed 's/ $//')"
expect_equal "compounds listed" "COOLING FEED_PUMPS FEED_TANK FEED_VALVES FLARE_STACK" \
    "$(delivered an_all_cmp | tr '\n' ' ' | sed 's/ $//')"
expect_equal "blocks listed" \
    "ABCDEFGHIJKL FV201 LIC301 LT301 P101 P101_SPEED P102 TI401 TIC501" \
    "$(delivered an_all_blk | tr '\n' ' ' | sed 's/ $//')"
expect_equal "blocks asked for every compound" \
    "COOLING FEED_PUMPS FEED_TANK FEED_VALVES FLARE_STACK" \
    "$(grep '^an_all_blk ' <<<"$record" | cut -d' ' -f2 | sort -u | tr '\n' ' ' | sed 's/ $//')"
expect_equal "continuation calls were made (batches of 2)" yes \
    "$(grep -q '^an_all_blk FEED_PUMPS more=1 ' <<<"$record" && echo yes || echo no)"

# --- the program's package alone, depending on what the site says ---
# depends_items DEB: the Depends entries one a line, versions dropped
depends_items()
{
    dpkg-deb -f "$1" Depends | tr ',' '\n' | sed 's/(.*)//; s/^ *//; s/ *$//'
}
# package OUT: makes the packages into OUT and names the one made
package()
{
    if ! cpack --config "$build/CPackConfig.cmake" -B "$1" >"$1.log" 2>&1; then
        cat "$1.log"
        fail "cpack makes the program's package"
        finish "site library"
    fi
    (cd "$1" && ls ./*.deb | sed 's|^\./||' | tr '\n' ' ' | sed 's/ $//')
}
step "packaging"
arch=$(dpkg --print-architecture)
# The package carries the version the build was configured with.
: "${ARBOLIX_VERSION:?no version given}"
made=$(package "$scratch/out")
expect_equal "only the program's package is made" "arbolix_${ARBOLIX_VERSION}_$arch.deb" "$made"
deb=$scratch/out/arbolix_${ARBOLIX_VERSION}_$arch.deb
if [[ -f $deb ]]; then
    if depends=$(dpkg-deb -f "$deb" Depends 2>&1) && [[ -n $depends ]]; then
        pass "package has a Depends field"
    else
        fail "package has a Depends field: $depends"
    fi
    depends_items "$deb" | grep -qx libdirapi1 && fail "package does not depend on libdirapi1: $depends" \
        || pass "package does not depend on libdirapi1"
    depends_items "$deb" | grep -qx '' && fail "package has no empty dependency: $depends" \
        || pass "package has no empty dependency"
    for dep in libc6 libqt6widgets6; do
        depends_items "$deb" | grep -qx "$dep" && pass "package depends on $dep (computed)" \
            || fail "package depends on $dep (computed): $depends"
    done
    dpkg-deb -x "$deb" "$scratch/root"
    installed=$(readelf -d "$scratch/root/usr/bin/arbolix")
    grep -qE '\((RUNPATH|RPATH)\)' <<<"$installed" && fail "packaged program has no run path" \
        || pass "packaged program has no run path"
    grep -q 'NEEDED.*\[libplantdir\.so\.3\]' <<<"$installed" \
        && pass "packaged program needs libplantdir.so.3" \
        || fail "packaged program needs libplantdir.so.3"
fi

step "packaging with the site's dependency"
if cmake -S "$source_dir" -B "$build" "-DARBOLIX_DIRAPI_DEPENDS=plantctl-runtime (>= 3.1)" \
    >>"$scratch/configure.log" 2>&1; then
    package "$scratch/out-depends" >/dev/null
    deb=$scratch/out-depends/arbolix_${ARBOLIX_VERSION}_$arch.deb
    depends=$(dpkg-deb -f "$deb" Depends 2>/dev/null)
    if grep -q '\(^\|, \)plantctl-runtime (>= 3\.1)\(,\|$\)' <<<"$depends" \
        && depends_items "$deb" | grep -qx libc6; then
        pass "package depends on the site's package and the computed ones"
    else
        fail "package depends on the site's package and the computed ones: $depends"
    fi
else
    cat "$scratch/configure.log"
    fail "the program configures with a dependency"
fi
step "done"
finish "site library"

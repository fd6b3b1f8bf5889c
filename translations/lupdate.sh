#!/bin/bash
# Keeps the translations in step with the program's texts.
#   lupdate.sh update [LANGUAGE]  adds new texts to every translations/arbolix_*.ts (as
#                                 unfinished) and drops gone ones; with a language code ("it"),
#                                 starts translations/arbolix_it.ts for a new language.
#   lupdate.sh check              fails when a translation lacks a text of the sources, keeps one
#                                 they no longer have, or leaves one unfinished.
# LUPDATE names the tool; Debian's Qt 6 one by default.
set -u
cd "$(dirname "$0")/.." || exit 1
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
sources=(app directory display res search toolkit)

run_lupdate() # TS-FILE...
{
    "$lupdate" -silent -locations none -no-ui-lines -no-obsolete "${sources[@]}" -ts "$@"
}

case ${1:-} in
update)
    files=(translations/arbolix_*.ts)
    [[ -n ${2:-} ]] && files+=("translations/arbolix_$2.ts")
    run_lupdate "${files[@]}"
    ;;
check)
    work=$(mktemp -d) || exit 1
    trap 'rm -rf "$work"' EXIT
    failures=0
    for ts in translations/arbolix_*.ts; do
        copy=$work/${ts##*/}
        cp "$ts" "$copy"
        # Without -no-obsolete, so a text the sources lost shows as vanished.
        "$lupdate" -silent -locations none -no-ui-lines "${sources[@]}" -ts "$copy" || exit 1
        if grep -q 'type="\(unfinished\|vanished\|obsolete\)"' "$copy"; then
            echo "FAIL: $ts: texts new to it, gone from the sources or not translated:"
            grep -B2 'type="\(unfinished\|vanished\|obsolete\)"' "$copy" | grep '<source>'
            failures=$((failures + 1))
        elif ! cmp -s "$ts" "$copy"; then
            echo "FAIL: $ts is not as lupdate leaves it (a text the sources lost?):"
            diff "$ts" "$copy"
            failures=$((failures + 1))
        else
            echo "PASS: $ts has every text of the sources, translated"
        fi
    done
    ((failures == 0)) || exit 1
    ;;
*)
    echo "usage: $0 update [LANGUAGE] | check" >&2
    exit 2
    ;;
esac

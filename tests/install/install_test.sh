#!/usr/bin/env bash
# Installs the built tree into a temporary prefix, moves that prefix elsewhere
# as a whole, and uses what it holds as a teacher's machine would: the program
# starts offscreen on an installed example chart and finds its data with no
# initialisation file, Setini points the initialisation file at the installed
# data, the tool reads and runs the chart, and the desktop entry, MIME types,
# icons and man page are accepted by the desktop's own tools.
# Usage: install_test.sh CMAKE BUILD_DIR SOURCE_DIR
set -uo pipefail
cmake=$1 build=$2 source=$3

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvel-install-XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FALLO: $*" >&2
    failures=$((failures + 1))
}

if ! "$cmake" --install "$build" --prefix "$work/staged" >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "cmake --install failed: build every target first" >&2
    exit 1
fi

# ---- What lies where --------------------------------------------------------
staged=$work/staged
[[ "$(ls "$staged/bin" | tr '\n' ' ')" == "Setini Tarvel2Esp tarvel " ]] ||
    fail "bin/ holds $(ls "$staged/bin" | tr '\n' ' ')instead of the three programs"
for program in Tarvel2Esp tarvel Setini; do
    [[ -x "$staged/bin/$program" ]] || fail "bin/$program is not executable"
done
# The whole data folder, byte for byte, so files added to it ship unlisted.
diff -r "$source/data" "$staged/share/tarvel2" >"$work/data.diff" ||
    fail "share/tarvel2 differs from data/: $(head -5 "$work/data.diff")"

icons=(tarvel2:apps application-x-tarvel-flowchart:mimetypes application-x-tarvel-data:mimetypes)
for icon in "${icons[@]}"; do
    name=${icon%%:*} context=${icon#*:}
    for size in 16 22 24 32 48 64 128 256; do
        png=$staged/share/icons/hicolor/${size}x${size}/$context/$name.png
        [[ "$(head -c 8 "$png" 2>/dev/null | od -An -tx1 | tr -d ' ')" == 89504e470d0a1a0a ]] ||
            fail "no PNG icon $png"
    done
    grep -q '<svg' "$staged/share/icons/hicolor/scalable/$context/$name.svg" 2>/dev/null ||
        fail "no scalable icon for $name"
done

# ---- The prefix moved as a whole --------------------------------------------
prefix="$work/elsewhere/moved prefix"
mkdir -p "$work/elsewhere" "$work/windows" "$work/home" "$work/cwd" "$work/etc-xdg"
mv "$staged" "$prefix"
data=$prefix/share/tarvel2

# No initialisation file, no settings key, a current folder that holds nothing.
run_program() {
    (cd "$work/cwd" && env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
        XDG_CONFIG_DIRS="$work/etc-xdg" TARVEL_WINDIR="$work/windows" QT_QPA_PLATFORM=offscreen \
        timeout 120 "$@")
}

# Starts the program on a chart and ends it once loaded; prints the exit code
# and then the boxes it would have shown, one a line.
start_on() {
    run_program "$prefix/bin/Tarvel2Esp" --quit-after-load "$1" >"$work/start.out" 2>&1
    echo "exit $?"
    grep '^Tarvel2Esp: ' "$work/start.out"
}

result=$(start_on "$data/EJEMPLOS/BARRERA.FLO")
[[ "$result" == "exit 0" ]] || fail "the installed program on BARRERA.FLO: $result
$(cat "$work/start.out")"

# A chart that names its mimic set asks about it; unattended, it is declined.
result=$(start_on "$data/EJEMPLOS/FAROGIRA.FLO")
expected="exit 0
Tarvel2Esp: Mensaje de Tarvel: Este archivo usa la mímica FARO.  ¿La quiere cargar ahora?"
[[ "$result" == "$expected" ]] || fail "the installed program on FAROGIRA.FLO: $result"

# What does not load is not reported as a start.
result=$(start_on "$work/cwd/no-existe.FLO")
[[ "$result" == exit\ 1* ]] || fail "a missing chart gave: $result"
printf 'esto no es un diagrama' >"$work/roto.FLO"
result=$(start_on "$work/roto.FLO")
[[ "$result" == exit\ 1$'\n'Tarvel2Esp:* ]] || fail "a broken chart gave: $result"

# ---- Setini, run from the installed bin/ --------------------------------------
run_program "$prefix/bin/Setini" || fail "Setini ended with $?"
printf '[LOCATIONS]\r\nSENSORS=%s/SENSORS\r\nCONFIGURATION=%s/CONFIGUR.FCF\r\nMIMICS=%s/MIMICS\r\nINTERVAL=20\r\n' \
    "$data" "$data" "$data" >"$work/expected.ini"
cmp -s "$work/expected.ini" "$work/windows/Tarvel2.ini" ||
    fail "Setini wrote: $(cat -A "$work/windows/Tarvel2.ini" 2>/dev/null)"
result=$(start_on "$data/EJEMPLOS/BARRERA.FLO")
[[ "$result" == "exit 0" ]] || fail "the program after Setini: $result"

# ---- The installed tool --------------------------------------------------------
run_program "$prefix/bin/tarvel" show "$data/EJEMPLOS/BARRERA.FLO" >"$work/show.json" ||
    fail "tarvel show ended with $?"
grep -q '"symbols"' "$work/show.json" || fail "tarvel show printed: $(head -3 "$work/show.json")"
run_program "$prefix/bin/tarvel" run --ticks 200 "$data/EJEMPLOS/SEMAFORO.FLO" >"$work/run.out" ||
    fail "tarvel run ended with $?"
grep -q '^2 output 3 on$' "$work/run.out" && tail -1 "$work/run.out" | grep -q ' end ' ||
    fail "tarvel run printed: $(head -3 "$work/run.out")"

# Its sensors folder, when none is given, is the installed one: without the
# installed chip data file the chip system has no entry, as with an empty folder.
rm "$data/SENSORS/tolvachip.dat"
without=$(run_program "$prefix/bin/tarvel" caps 10 1 1)
empty=$(run_program "$prefix/bin/tarvel" caps --sensors "$work/cwd" 10 1 1)
shipped=$(run_program "$prefix/bin/tarvel" caps --sensors "$source/data/SENSORS" 10 1 1)
[[ "$without" == "$empty" && "$without" != "$shipped" ]] ||
    fail "the installed tool does not take the installed sensors folder: $without"

# ---- Man page: every command of the tool has its section -----------------------
man=$prefix/share/man/man1/tarvel.1.gz
commands=$(run_program "$prefix/bin/tarvel" 2>&1 | sed -n 's/^ *tarvel \([a-z]*\).*/\1/p' | sort -u)
[[ -n "$commands" ]] || fail "tarvel printed no usage"
for command in $commands; do
    zcat "$man" | grep -q "^\.SS tarvel $command\$" || fail "the man page lacks tarvel $command"
done
if command -v groff >/dev/null; then
    warnings=$(zcat "$man" | groff -K utf8 -man -ww -z 2>&1)
    [[ -z "$warnings" ]] || fail "groff: $warnings"
fi

# ---- Desktop entry and MIME types ----------------------------------------------
desktop=$prefix/share/applications/tarvel2.desktop
mime=$prefix/share/mime/packages/tarvel2.xml
if command -v desktop-file-validate >/dev/null; then
    report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $report"
else
    echo "desktop-file-validate missing (desktop-file-utils): the entry is not validated"
fi
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[[ -x "$prefix/bin/$exec_program" ]] || fail "the entry starts $exec_program, not installed"
[[ "$(sed -n 's/^Icon=//p' "$desktop")" == tarvel2 ]] || fail "the entry's icon is not tarvel2"
for type in $(sed -n 's/^MimeType=//p' "$desktop" | tr ';' ' '); do
    grep -q "<mime-type type=\"$type\">" "$mime" || fail "the entry opens $type, which no file defines"
done
if command -v update-mime-database >/dev/null; then
    update-mime-database "$prefix/share/mime" >"$work/mime.log" 2>&1 ||
        fail "update-mime-database: $(cat "$work/mime.log")"
    for glob in 'application/x-tarvel-flowchart:\*\.flo' 'application/x-tarvel-flowchart:\*\.FLO:cs' \
        'application/x-tarvel-data:\*\.sid' 'application/x-tarvel-data:\*\.SID:cs'; do
        grep -q "^[0-9]*:$glob\$" "$prefix/share/mime/globs2" || fail "no glob $glob"
    done
    grep -q 'application/x-tarvel-data' "$prefix/share/mime/magic" ||
        fail "data files are not told by their first line"
else
    echo "update-mime-database missing (shared-mime-info): the MIME types are not compiled"
fi

if ((failures)); then
    echo "$failures fallos" >&2
    exit 1
fi
echo "instalación correcta"

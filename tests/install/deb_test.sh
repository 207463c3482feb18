#!/usr/bin/env bash
# Builds the Debian package from the already built tree (quickly compressed;
# scripts/package.sh makes the real one from a Release build) and inspects it:
# the control fields, every library the programs link covered by a dependency
# on the package that holds it, every dependency a real package, and the files
# all under /usr where the desktop looks for them.
# Usage: deb_test.sh CPACK BUILD_DIR SOURCE_DIR
set -uo pipefail
cpack=$1 build=$2 source=$3

for tool in dpkg-deb dpkg-shlibdeps dpkg-query objdump; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is missing (scripts/deps.sh installs dpkg-dev and binutils)"
        exit 77
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tarvel-deb-XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FALLO: $*" >&2
    failures=$((failures + 1))
}

if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" \
    -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "cpack failed: build every target first" >&2
    exit 1
fi
debs=("$work"/out/*.deb)
[[ ${#debs[@]} -eq 1 && -f "${debs[0]}" ]] || {
    echo "cpack made ${#debs[@]} packages: ${debs[*]}" >&2
    exit 1
}
deb=${debs[0]}

# ---- Control fields ---------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Package)" == tarvel2 ]] || fail "Package: $(field Package)"
[[ "$(field Architecture)" == "$(dpkg --print-architecture)" ]] ||
    fail "Architecture: $(field Architecture)"
[[ "$(field Section)" == education ]] || fail "Section: $(field Section)"
[[ -n "$(field Maintainer)" && -n "$(field Version)" && -n "$(field Description)" ]] ||
    fail "Maintainer, Version or Description missing"
long=$(field Description | awk 'length($0) > 80')
[[ -z "$long" ]] || fail "description lines wider than 80 columns: $long"

# Package names of a dependency field, without versions or alternatives' bars.
names() { tr ',|' '\n\n' | sed 's/(.*)//; s/^ *//; s/ *$//' | grep -v '^$' | sort -u; }
depends=$(field Depends | names)

for needed in fonts-liberation2 qt6-translations-l10n; do
    grep -qx "$needed" <<<"$depends" || fail "Depends lacks $needed"
done

# Every library a program links comes from a package the package depends on.
dpkg-deb -x "$deb" "$work/root"
for program in "$work"/root/usr/bin/*; do
    for library in $(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }'); do
        # Lines read "pkg:arch[, pkg:arch]: path".
        owners=$(dpkg-query -S "*/$library" 2>/dev/null | sed 's/: .*//' | tr ',' '\n' |
            sed 's/:.*//; s/^ *//' | sort -u)
        [[ -n "$owners" ]] || {
            fail "no package holds $library"
            continue
        }
        grep -qxF -f <(echo "$owners") <<<"$depends" ||
            fail "$(basename "$program") links $library of $(echo $owners), not in Depends"
    done
done

# Every dependency names a package this machine knows.
for name in $depends $(field Recommends | names); do
    dpkg-query -W "$name" >/dev/null 2>&1 || apt-cache show "$name" >/dev/null 2>&1 ||
        fail "no package is called $name"
done

# ---- Files ------------------------------------------------------------------------------
dpkg-deb -c "$deb" | awk '{ print $1, $6 }' >"$work/contents"
files=$(awk '{ print $2 }' "$work/contents")
outside=$(grep -v -e '^\./$' -e '^\./usr/' <<<"$files")
[[ -z "$outside" ]] || fail "files outside /usr: $outside"
bin=$(grep '^\./usr/bin/.' <<<"$files" | sort | tr '\n' ' ')
[[ "$bin" == "./usr/bin/Setini ./usr/bin/Tarvel2Esp ./usr/bin/tarvel " ]] || fail "usr/bin holds $bin"
for program in Tarvel2Esp tarvel Setini; do
    grep -q "^-rwxr-xr-x \./usr/bin/$program\$" "$work/contents" || fail "$program is not executable"
done
while IFS= read -r shipped; do
    grep -qxF "./usr/share/tarvel2/$shipped" <<<"$files" || fail "data/$shipped is not in the package"
done < <(cd "$source/data" && find . -type f | sed 's|^\./||')
for expected in ./usr/share/applications/tarvel2.desktop ./usr/share/mime/packages/tarvel2.xml \
    ./usr/share/man/man1/tarvel.1.gz ./usr/share/icons/hicolor/48x48/apps/tarvel2.png \
    ./usr/share/icons/hicolor/scalable/mimetypes/application-x-tarvel-flowchart.svg \
    ./usr/share/icons/hicolor/256x256/mimetypes/application-x-tarvel-data.png; do
    grep -qxF "$expected" <<<"$files" || fail "$expected is not in the package"
done

if ((failures)); then
    echo "$failures fallos" >&2
    exit 1
fi
echo "$(basename "$deb"): $(field Depends)"

#!/bin/sh
# The Debian package as a person gets it: built by CPack from the build folder, its control fields
# and file list, lintian's verdict, then unpacked into a scratch root and its programs run from
# there with nothing of the build or source tree named anywhere in it. With
# ZORVIKA_PACKAGE_INSTALL=1 (as root, on a machine that may be changed) it is also installed with
# apt-get, run from PATH and purged, and nothing of it may remain.
#
# Arguments: the build folder, the source folder, the multiarch triplet, zorvika_shot.
set -eu
build=$1 source=$2 multiarch=$3 shot=$4
scratch=$build/package-test
rm -rf "$scratch"
mkdir -p "$scratch/deb" "$scratch/root" "$scratch/work" "$scratch/home"
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# --- The package ----------------------------------------------------------------------------------
if ! (cd "$build" && cpack --config CPackConfig.cmake -B "$scratch/deb" >"$scratch/cpack.log" 2>&1); then
    cat "$scratch/cpack.log"
    echo "FAILED: cpack"
    exit 1
fi
set -- "$scratch"/deb/zorvika_*.deb
deb=$1
[ -f "$deb" ] || { echo "FAILED: no package made"; exit 1; }
echo "package: $(basename "$deb"), $(dpkg-deb -f "$deb" Installed-Size) KiB installed"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
echo "Recommends: $(dpkg-deb -f "$deb" Recommends)"
# What the programs load by name or read must be there; nothing of the build may be.
for wanted in libqt6gui6 libqt6widgets6 libqt6multimedia6 libavformat libfluidsynth fonts-liberation2 \
    fonts-dejavu-core "timgm6mb-soundfont | sf2-soundfont-gm" qt6-translations-l10n; do
    case ", $depends," in *", $wanted"*) ;; *) fail "Depends lacks $wanted" ;; esac
done
echo "$depends" | tr ',' '\n' | grep -E -- '-dev\b|-dbg\b|gtest|gmock|benchmark|clang|cmake|ninja|mingw|icoutils' &&
    fail "Depends names a build or test package"
case "$(dpkg-deb -f "$deb" Recommends)" in *libwine*) ;; *) fail "libwine is not recommended" ;; esac

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $NF }' | sort >"$scratch/files"
cat >"$scratch/expected" <<FILES
./usr/bin/zorvika
./usr/bin/zorvika-cli
./usr/bin/zorvika-thumbnailer
./usr/lib/$multiarch/zorvika/zorvika-cli-extract.so
./usr/lib/$multiarch/zorvika/zorvika_media.so
./usr/share/applications/org.example.Zorvika.desktop
./usr/share/bash-completion/completions/zorvika-cli
./usr/share/doc/zorvika/changelog.Debian.gz
./usr/share/doc/zorvika/copyright
./usr/share/icons/hicolor/16x16/apps/org.example.Zorvika.png
./usr/share/icons/hicolor/256x256/apps/org.example.Zorvika.png
./usr/share/icons/hicolor/32x32/apps/org.example.Zorvika.png
./usr/share/icons/hicolor/48x48/apps/org.example.Zorvika.png
./usr/share/icons/hicolor/scalable/apps/org.example.Zorvika.svg
./usr/share/man/man1/zorvika-cli.1.gz
./usr/share/man/man1/zorvika-thumbnailer.1.gz
./usr/share/man/man1/zorvika.1.gz
./usr/share/metainfo/org.example.Zorvika.metainfo.xml
./usr/share/thumbnailers/zorvika.thumbnailer
FILES
sort -o "$scratch/expected" "$scratch/expected"
diff -u "$scratch/expected" "$scratch/files" || fail "the package's files differ from the expected list"

if command -v lintian >/dev/null; then
    lintian --allow-root --display-info "$deb" >"$scratch/lintian.log" 2>&1 || true
    sed 's/^/lintian: /' "$scratch/lintian.log"
    grep -q '^E: ' "$scratch/lintian.log" && fail "lintian reports errors"
else
    fail "lintian is not installed (scripts/deps.sh installs it)"
fi

# --- Unpacked into a scratch root -----------------------------------------------------------------
root=$scratch/root
dpkg -x "$deb" "$root"
# Nothing installed names the build or the source tree, so nothing can reach them.
for tree in "$build" "$source"; do
    found=$(grep -rlF "$tree" "$root" || true)
    [ -z "$found" ] || fail "installed files name $tree: $found"
done
for elf in "$root"/usr/bin/* "$root"/usr/lib/"$multiarch"/zorvika/*.so; do
    readelf -d "$elf" | grep -qE 'RPATH|RUNPATH' && fail "$elf has a library search path"
done
# The thumbnailer needs no widgets, media or font libraries of its own.
readelf -d "$root/usr/bin/zorvika-thumbnailer" | grep NEEDED | grep -E 'Widgets|Multimedia|fontconfig|libav|fluidsynth' &&
    fail "zorvika-thumbnailer links more than Qt Core and Gui"

desktop-file-validate "$root/usr/share/applications/org.example.Zorvika.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.Zorvika.metainfo.xml" ||
    fail "appstreamcli validate"
for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

# The programs run from the scratch root alone: a bare environment, another working folder.
library=/usr/lib/$multiarch/wine/x86_64-windows/shell32.dll
run() {
    (cd "$scratch/work" && env -i PATH="$root/usr/bin:/usr/bin:/bin" HOME="$scratch/home" LANG=C.UTF-8 "$@")
}
run zorvika-cli --version | grep -q '^zorvika-cli (Зорвика) ' || fail "zorvika-cli --version"
run zorvika-cli list "$library" | grep -q '^14	' || fail "zorvika-cli list finds no icon group"
# extract lives in the module of the installed tree, the only one these programs can reach.
run zorvika-cli extract "$library" -t 14 --png -o icons >"$scratch/extract.log" || fail "zorvika-cli extract"
[ "$(ls "$scratch/work/icons" | wc -l)" -gt 10 ] || fail "zorvika-cli extract wrote no icons"
run zorvika-thumbnailer -s 96 "$library" thumb.png || fail "zorvika-thumbnailer"
file "$scratch/work/thumb.png" | grep -q 'PNG image data, 96 x 96' || fail "the thumbnail is not a 96 x 96 PNG"
run zorvika-thumbnailer --help | grep -q 'INPUT OUTPUT' || fail "zorvika-thumbnailer --help"
# In a sandbox as GNOME's thumbnail host makes one: the system's /usr read-only, the input and the
# output's folder alone beside it, no environment, no network, with and without /proc.
if bwrap --ro-bind / / true 2>/dev/null; then
    mkdir -p "$scratch/sandbox"
    for proc in "--proc /proc" ""; do
        # shellcheck disable=SC2086
        bwrap --ro-bind /usr /usr --symlink usr/lib /lib --symlink usr/lib64 /lib64 --symlink usr/bin /bin \
            --ro-bind /etc/ld.so.cache /etc/ld.so.cache $proc --dev /dev --ro-bind "$root" "$root" \
            --ro-bind "$library" /input.dll --bind "$scratch/sandbox" /out --unshare-all --clearenv --chdir / \
            "$root/usr/bin/zorvika-thumbnailer" -s 64 /input.dll /out/thumb.png || fail "the thumbnailer in a sandbox ($proc)"
        [ "$(ls -A "$scratch/sandbox")" = thumb.png ] || fail "the sandbox's folder does not hold the thumbnail alone ($proc)"
        rm -f "$scratch/sandbox/thumb.png"
    done
else
    echo "bwrap cannot make a sandbox here: the sandboxed run is left out"
fi
# The window starts (its Qt platform, translations and fonts found) and keeps running until stopped.
status=0
run env QT_QPA_PLATFORM=offscreen timeout 5 zorvika >"$scratch/window.log" 2>&1 || status=$?
[ "$status" = 124 ] || { cat "$scratch/window.log"; fail "zorvika ended by itself (status $status)"; }
# The window's media module from the installed tree: the scripted window, placed in its bin/, plays
# two videos of Shell32.dll without a failure box.
cp "$shot" "$root/usr/bin/zorvika_shot"
run env QT_QPA_PLATFORM=offscreen zorvika_shot shot.png --select AVI/150 --select AVI/151 >"$scratch/shot.log" 2>&1 ||
    fail "zorvika_shot from the installed tree"
grep -q 'message: ' "$scratch/shot.log" && { cat "$scratch/shot.log"; fail "media from the installed tree failed"; }
rm "$root/usr/bin/zorvika_shot"

# The completion of zorvika-cli, as bash runs it.
completion=$root/usr/share/bash-completion/completions/zorvika-cli
completions() {
    run bash -c '. "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _zorvika_cli; printf "%s\n" "${COMPREPLY[@]}"' \
        completions "$completion" "$@"
}
[ "$(completions zorvika-cli ex)" = extract ] || fail "completion of a command"
[ "$(completions zorvika-cli extract "$library" -t 14 --p)" = --png ] || fail "completion of an option"
completions zorvika-cli show "$library" "" | grep -qx 14 || fail "completion of a type"
completions zorvika-cli extract "$library" -t 14 -n "" | grep -qx '\\#1' || fail "completion of a name"

# --- Installed for real, then purged --------------------------------------------------------------
if [ "${ZORVIKA_PACKAGE_INSTALL:-0}" = 1 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$scratch/apt.log" 2>&1 ||
        { cat "$scratch/apt.log"; fail "apt-get install"; }
    (cd "$scratch/work" && env -i PATH=/usr/bin:/bin HOME="$scratch/home" LANG=C.UTF-8 sh -c \
        'zorvika-cli list "$1" >/dev/null && zorvika-thumbnailer "$1" installed.png &&
         QT_QPA_PLATFORM=offscreen timeout 5 zorvika; [ $? = 124 ]' run "$library") ||
        fail "the installed programs from PATH"
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq zorvika >>"$scratch/apt.log" 2>&1 || fail "apt-get purge"
    sed 's|^\./|/|' "$scratch/files" | while read -r path; do
        [ ! -e "$path" ] || echo "$path"
    done >"$scratch/left"
    for dir in /usr/share/doc/zorvika "/usr/lib/$multiarch/zorvika"; do
        [ ! -e "$dir" ] || echo "$dir" >>"$scratch/left"
    done
    [ ! -s "$scratch/left" ] || { cat "$scratch/left"; fail "files left after purge"; }
    dpkg-query -W zorvika >/dev/null 2>&1 && fail "zorvika is still known to dpkg"
fi

[ "$failures" = 0 ] || exit 1
echo "package test passed"

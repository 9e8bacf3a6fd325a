#!/usr/bin/env bash
# Qt for Windows, built once and kept: Debian's own qtbase source, the version of the Linux
# build, cross-compiled as static libraries with Debian's MinGW-w64 and installed into a
# folder of ~/.cache/tolvane named by the version, the compiler and this script. A folder
# whose stamp file the last step wrote is complete and never built again. Prints the folder,
# which the ci-windows preset takes from TOLVANE_QT_WINDOWS.
# The source is fetched with a private list made from this machine's own Debian entry: the
# machine's apt configuration is not touched.
source "$(dirname "$0")/common.sh"
install_missing build windows

revision=6.4.2+dfsg-10
declare -A sha256=(
    [qt6-base_6.4.2+dfsg.orig.tar.xz]=4f14b89a9463a540fd84a6718b8519a2297119b454ef547721015a9e9019ae9e
    [qt6-base_6.4.2+dfsg-10.debian.tar.xz]=d1a2621b1acb1606db7274ccdb96654564cea04af836c5b86da94e150714d16c
    [qt6-base_6.4.2+dfsg-10.dsc]=1b4b5c8610a553d4211fa81e268b1a3b0a6339ae5444fdb7e60d7616da651970
)
compiler=$(x86_64-w64-mingw32-g++-posix -dumpversion)
hash=$(cat "$0" "$repo/cmake/mingw-w64-x86_64.cmake" | sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/tolvane
prefix=$cache/qt-${revision/+dfsg/}-mingw-$compiler-$hash
stamp=$prefix/tolvane-qt-complete
if [ -f "$stamp" ]; then
    echo "$prefix"
    exit 0
fi

mkdir -p "$cache"
work=$(mktemp -d "$cache/build-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work"/{parts,lists/partial,apt/archives/partial,source}
# The machine's Debian entries, as source entries.
for list in /etc/apt/sources.list.d/*.sources; do
    [ -e "$list" ] && sed 's/^Types: deb$/Types: deb-src/' "$list" >"$work/parts/$(basename "$list")"
done
if [ -s /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$work/parts/sources.list"
fi
apt=(apt-get -q -o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$work/parts"
     -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/apt")
"${apt[@]}" update >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; exit 1; }
(cd "$work/source" && "${apt[@]}" source --download-only "qt6-base=$revision" >>"$work/apt.log" 2>&1) \
    || { cat "$work/apt.log"; exit 1; }
for file in "${!sha256[@]}"; do
    echo "${sha256[$file]}  $work/source/$file" | sha256sum --check --quiet \
        || { echo "$file is not the source this script was written for"; exit 1; }
done
tar -xJf "$work/source/qt6-base_6.4.2+dfsg.orig.tar.xz" -C "$work/source"
qtbase=$(echo "$work"/source/qtbase-everywhere-src-*)

mkdir -p "$prefix"
cp "$repo/cmake/mingw-w64-x86_64.cmake" "$prefix/mingw-w64-x86_64.cmake"
# Only what Tolvane uses: Core, Gui, Widgets, PrintSupport and Test; PNG of the image formats.
# FreeType stays, for the offscreen platform; OpenGL stays dynamic, as the windows platform
# plugin needs; Debian's source lacks wintab, so no tablet input.
cmake -G Ninja -S "$qtbase" -B "$work/build" -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64-x86_64.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DQT_BUILD_EXAMPLES=OFF \
    -DQT_BUILD_TESTS=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_icu=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF \
    -DFEATURE_freetype=ON -DFEATURE_system_freetype=OFF >"$work/configure.log" 2>&1 \
    || { tail -n 40 "$work/configure.log"; exit 1; }
cmake --build "$work/build" --parallel "$(nproc)" >"$work/build.log" 2>&1 \
    || { tail -n 40 "$work/build.log"; exit 1; }
cmake --install "$work/build" >/dev/null
# What shipping it needs: Qt's licence and the notices of the code it links in.
mkdir -p "$prefix/notices"
cp "$qtbase/LICENSES/LGPL-3.0-only.txt" "$prefix/notices/Qt-LGPL-3.0-only.txt"
for library in zlib libpng pcre2 harfbuzz-ng double-conversion freetype md4c tinycbor pixman \
    easing icc blake2 sha1 sha3 md4 md5 rfc6234; do
    mkdir -p "$prefix/notices/$library"
    for notice in "$qtbase/src/3rdparty/$library"/* "$qtbase/src/3rdparty/$library"/docs/*; do
        case ${notice##*/} in
        [Ll][Ii][Cc][Ee][Nn][CcSs][Ee]* | COPYING* | *LICENSE* | FTL.TXT | qt_attribution.json)
            cp "$notice" "$prefix/notices/$library/" ;;
        esac
    done
done
echo "qt6-base $revision (Debian source package), built by tools/build-qt-windows.sh" \
    >"$prefix/notices/QT-SOURCE"
touch "$stamp"
echo "$prefix"

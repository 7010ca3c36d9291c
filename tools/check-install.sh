#!/usr/bin/env bash
# The installed program, as a user gets it: `cmake --install` into a fresh
# prefix and the Debian package unpacked into a fresh root.  Each must run
# where it lands, find its shipped files and its library, and the package
# must pass lintian.  Usage: tools/check-install.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
# The programs must not read or write the tester's own settings.
export XDG_CONFIG_HOME="$work/config"

fail() { echo "INSTALL CHECK FAILED: $*" >&2; exit 1; }

# Runs the installed programs of the tree below $1 (bin/, lib/, share/),
# from a folder that holds none of their files.
check_tree() {
  local root=$1 what=$2 shipped
  shipped=$(ls -d "$root"/share/kovra-viewer)
  for p in "$root"/bin/ProjectKovra "$root"/bin/kovra; do
    if ldd "$p" | grep -q "not found"; then ldd "$p"; fail "$what: $p misses a library"; fi
  done
  mkdir -p "$work/elsewhere"
  (cd "$work/elsewhere" &&
    "$root/bin/kovra" report "$shipped/samples/sample.txt" --pdf "$work/report.pdf" --all) ||
    fail "$what: kovra report --pdf"
  pages=$(pdfinfo "$work/report.pdf" | awk '/^Pages:/ {print $2}')
  [ "${pages:-0}" -ge 1 ] || fail "$what: the report PDF has no pages"
  # The viewer starts on the sample and is still running three seconds
  # later (timeout's 124), with nothing said on stderr.
  set +e
  (cd "$work/elsewhere" && timeout 3 "$root/bin/ProjectKovra" "$shipped/samples/sample.txt") 2>"$work/viewer.err"
  rc=$?
  set -e
  if [ "$rc" -ne 124 ] || grep -v "^QStandardPaths" "$work/viewer.err" | grep -q .; then
    cat "$work/viewer.err"; fail "$what: the viewer ended with $rc instead of running"
  fi
  echo "$what: kovra report wrote $pages pages; the viewer started"
}

# 0. The desktop entry and the metainfo as the desktop's tools read them.
desktop-file-validate "$src/data/linux/com.example.KovraViewer.desktop" || fail "desktop entry"
appstreamcli validate --no-net --pedantic "$src/data/linux/com.example.KovraViewer.metainfo.xml" >/dev/null ||
  fail "AppStream metainfo"

# 1. cmake --install into a prefix of its own.
cmake --install "$build" --prefix "$work/prefix" >/dev/null
check_tree "$work/prefix" "installed tree"

# 2. A C caller built against the installed tree through find_package.
cmake -S "$src/tests/install" -B "$work/client" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/client" >/dev/null
"$work/client/c_client" >/dev/null || fail "the C client against the installed tree"
echo "C client: built through find_package(Dorvex32) and ran"

# 3. The Debian package: lintian, then unpacked and run.
(cd "$build" && rm -f ./*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/*.deb)
if lintian --fail-on error --suppress-tags-from-file /dev/null "$deb" >"$work/lintian.log" 2>&1; then
  echo "lintian: no error ($(grep -c '^W:' "$work/lintian.log" || true) warnings)"
else
  cat "$work/lintian.log"; fail "lintian reported errors"
fi
dpkg-deb -x "$deb" "$work/root"
check_tree "$work/root/usr" "package"

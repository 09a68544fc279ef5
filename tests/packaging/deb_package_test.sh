#!/usr/bin/env bash
# Builds the Debian package from this build tree, unpacks it into a scratch
# root with dpkg -x and runs the unpacked dialer from there.
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d /tmp/orvanta-deb-XXXXXX)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

if ! cpack --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"; fail "cpack failed"
fi
deb=$(ls "$work"/out/*.deb)

# dpkg-shlibdeps saw the program and the dlopened engine.
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libc6 libqt6widgets6 liblinphone linphone-common libqt6svg6; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

root="$work/root"
dpkg -x "$deb" "$root"
for file in usr/bin/orvanta usr/lib/orvanta/libOrvanta.so \
            usr/share/applications/orvanta.desktop \
            usr/share/metainfo/org.orvanta.dialer.metainfo.xml \
            usr/share/man/man1/orvanta.1.gz \
            usr/share/icons/hicolor/scalable/apps/orvanta.svg \
            usr/share/orvanta/sounds/ring.wav usr/share/orvanta/sounds/Dtmf-pound.wav; do
  [ -f "$root/$file" ] || fail "missing /$file"
done
for size in 16 22 24 32 48 64 128 256 512; do
  png="$root/usr/share/icons/hicolor/${size}x${size}/apps/orvanta.png"
  file "$png" | grep -q "PNG image data, $size x $size" || fail "$png: $(file -b "$png")"
done
desktop-file-validate "$root/usr/share/applications/orvanta.desktop" || fail "installed .desktop"

shown=$("$root/usr/bin/orvanta" --version)
[ "$shown" = "Orvanta $version" ] || fail "--version said '$shown'"

# The unpacked dialer loads its engine from its private folder, also when
# the working folder holds a library of the same name.
mkdir -p "$work/elsewhere" "$work/runtime" "$work/data"
cp "$root/usr/lib/orvanta/libOrvanta.so" "$work/elsewhere/"
printf '[service]\nprovisioning_url=https://127.0.0.1:9/\nportal_url=https://127.0.0.1:9\nwebapi_url=http://127.0.0.1:9\n' \
  > "$work/deployment.ini"
(cd "$work/elsewhere" && exec env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" \
  ORVANTA_DATA_DIR="$work/data" ORVANTA_DEPLOYMENT="$work/deployment.ini" \
  "$root/usr/bin/orvanta" > "$work/dialer.log" 2>&1) &
pid=$!
for _ in $(seq 1 100); do
  grep -q "$root/usr/lib/orvanta/libOrvanta.so" "/proc/$pid/maps" 2>/dev/null && break
  sleep 0.1
done
grep -q "$root/usr/lib/orvanta/libOrvanta.so" "/proc/$pid/maps" ||
  { cat "$work/dialer.log"; fail "the engine was not loaded from the private folder"; }
! grep -q "$work/elsewhere/libOrvanta.so" "/proc/$pid/maps" || fail "loaded from the working folder"
echo "package $(basename "$deb") installs and runs"

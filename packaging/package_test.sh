#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks what it holds and
# what it depends on.   package_test.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb=$(ls "$out"/reshetki_*.deb)
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
depends=$(dpkg-deb -f "$deb" Depends)
status=0
for file in ./usr/bin/reshetki ./usr/share/applications/reshetki.desktop \
            ./usr/share/icons/hicolor/scalable/apps/reshetki.svg; do
    grep -qx "$file" <<<"$contents" || { echo "missing from the package: $file"; status=1; }
done
for package in libqt6widgets6 libqt6printsupport6 libglpk40 libsqlite3-0 libxlsxwriter4 libstdc++6 \
               fonts-dejavu-core fonts-liberation2; do
    grep -q "\b$package\b" <<<"$depends" || { echo "no dependency on $package: $depends"; status=1; }
done
# Nothing of the build or the tests goes into the package.
if grep -qvE '^\./(usr(/(bin|share(/(applications|icons(/hicolor(/scalable(/apps)?)?)?))?)?)?/?)?(reshetki(\.desktop|\.svg)?)?$' <<<"$contents"; then
    echo "unexpected files in the package:"; grep -vE 'reshetki|/$' <<<"$contents"; status=1
fi
exit $status

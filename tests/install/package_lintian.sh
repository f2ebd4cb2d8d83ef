#!/usr/bin/env bash
# Makes the Debian package from this build, as scripts/package does from a release build, and
# runs lintian on it the way a reviewer would (-i -I --pedantic): no error and no warning, and
# every info or pedantic tag left is one that packaging/README.md explains. Skipped (77), with a
# note, where lintian is not installed.
#   package_lintian.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build="$1"
source="$2"
if ! command -v lintian >/dev/null; then
    echo "note: lintian is not installed (scripts/install-deps installs it): the package was not checked"
    exit 77
fi
work="$build/tests/package_lintian"
rm -rf "$work"
mkdir -p "$work"

start=$SECONDS
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" > "$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    exit 1
fi
package=$(ls "$work"/dasom_*.deb)
echo "package made in $((SECONDS - start)) s: $(basename "$package")"

start=$SECONDS
lintian -i -I --pedantic --no-tag-display-limit "$package" > "$work/lintian.txt" 2>&1 || true
echo "lintian ran in $((SECONDS - start)) s"
cat "$work/lintian.txt"

failed=0
if grep -Eq '^[EW]: ' "$work/lintian.txt"; then
    echo "lintian reports errors or warnings"
    failed=1
fi
for tag in $(sed -nE 's/^[IPX]: [^ ]+: ([^ ]+).*/\1/p' "$work/lintian.txt" | sort -u); do
    if ! grep -q "\`$tag\`" "$source/packaging/README.md"; then
        echo "lintian tag $tag is not explained in packaging/README.md"
        failed=1
    fi
done
[ $failed -eq 0 ] && rm -rf "$work"
exit $failed

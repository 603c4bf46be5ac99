#!/bin/sh
# Installs a downloaded update into the application's installation tree.
#
# Usage: installApp.sh ARCHIVE INSTALL_DIR
#   ARCHIVE      the verified update: a .tar.gz of the runnable tree (the
#                veltro-orvik executable and its bin/ directory), either at the
#                top level of the archive or inside one top-level directory
#   INSTALL_DIR  the installed tree to replace: a directory of its own that
#                holds veltro-orvik (not a shared directory such as /usr/bin)
#
# The new tree is unpacked beside the old one and swapped in with two renames
# in the same parent directory, so a failure at any step leaves the old
# installation in place and working. Diagnostics go to standard output and
# standard error; the exit code is 0 only when the new tree is in place.

set -u

PROGRAM=veltro-orvik

fail() {
  echo "installApp.sh: $*" >&2
  exit 1
}

[ "$#" -eq 2 ] || fail "usage: installApp.sh ARCHIVE INSTALL_DIR"
archive=$1
target=$2

[ -f "$archive" ] || fail "archive not found: $archive"
[ -d "$target" ] || fail "installation directory not found: $target"
# Only a tree that is an installation of this program is ever replaced.
[ -f "$target/$PROGRAM" ] || fail "not an installation of $PROGRAM: $target"

target=$(cd "$target" && pwd -P) || fail "cannot enter $target"
parent=$(dirname "$target")
name=$(basename "$target")
# A directory of programs shared with others (/usr/bin, ~/.local/bin, ...) is
# never swapped: only a self-contained tree of this application is.
case "$name" in
  bin | sbin) fail "refusing to replace the shared program directory $target" ;;
esac
[ -w "$parent" ] || fail "no write permission in $parent"

old="$parent/.$name.old.$$"
[ ! -e "$old" ] || fail "a previous installation attempt left $old behind"
staging=$(mktemp -d "$parent/.$name.new.XXXXXX") || fail "cannot create a staging directory in $parent"

# Runs on every exit, also when the script is stopped half-way: an old tree
# that was moved aside comes back unless the new one took its place.
# shellcheck disable=SC2317  # called through the trap
cleanup() {
  if [ -n "$old" ] && [ -d "$old" ]; then
    if [ -e "$target" ]; then
      rm -rf "$old"
    else
      mv "$old" "$target"
    fi
  fi
  rm -rf "$staging"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

echo "Unpacking $archive"
tar -xzf "$archive" -C "$staging" || fail "cannot unpack $archive"

# The tree at the top of the archive, or in its single top-level directory.
tree=$staging
if [ ! -f "$tree/$PROGRAM" ]; then
  count=0
  for entry in "$staging"/* "$staging"/.[!.]*; do
    [ -e "$entry" ] || continue
    count=$((count + 1))
    candidate=$entry
  done
  if [ "$count" -eq 1 ] && [ -d "$candidate" ] && [ -f "$candidate/$PROGRAM" ]; then
    tree=$candidate
  else
    fail "the archive does not hold $PROGRAM"
  fi
fi
[ -x "$tree/$PROGRAM" ] || fail "$PROGRAM in the archive is not executable"
# The staging directory was created for the owner only; the tree is not.
chmod u=rwx,go=rx "$tree" || fail "cannot set the permissions of the new tree"

echo "Replacing $target"
mv "$target" "$old" || fail "cannot move the old installation aside"
if ! mv "$tree" "$target"; then
  fail "cannot move the new installation into place"
fi
echo "Installed into $target"
exit 0

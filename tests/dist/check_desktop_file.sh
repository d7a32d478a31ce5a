#!/usr/bin/env bash
# Validates one desktop integration file with the desktop's own tools; a complaint of any
# kind fails.  check_desktop_file.sh desktop|metainfo|mime FILE [MIME_TYPE]
set -euo pipefail
kind=$1 file=$2

need() {
  command -v "$1" >/dev/null || { echo "$1 is missing: run scripts/install-deps" >&2; exit 1; }
}
complain_on_output() {
  if [ -n "$1" ]; then echo "$1" >&2; exit 1; fi
}

case $kind in
  desktop)
    need desktop-file-validate
    complain_on_output "$(desktop-file-validate "$file" 2>&1)"
    ;;
  metainfo)
    need appstreamcli
    appstreamcli validate --no-net --pedantic "$file"
    ;;
  mime)
    need update-mime-database
    type=$3
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    mkdir -p "$tmp/mime/packages"
    cp "$file" "$tmp/mime/packages/"
    complain_on_output "$(XDG_DATA_DIRS=$tmp update-mime-database "$tmp/mime" 2>&1)"
    # A show folder's show.json, and only that name, is a show.
    globs=$(grep -v '^#' "$tmp/mime/globs2")
    if [ "$(printf '%s\n' "$globs" | cut -d: -f2- | cut -d: -f1,2 | sort -u)" != "$type:show.json" ]; then
      echo "unexpected globs: $globs" >&2
      exit 1
    fi
    grep -q "^$type application/json\$" "$tmp/mime/subclasses" || { echo "$type is no JSON" >&2; exit 1; }
    ;;
  *)
    echo "unknown kind $kind" >&2
    exit 2
    ;;
esac

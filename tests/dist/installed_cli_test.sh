#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed programs from outside
# the source tree: they find their shared data beside themselves, and orvane-cli compiles
# an installed example show.  installed_cli_test.sh CMAKE BUILD_FOLDER SOURCE_FOLDER VERSION
set -euo pipefail
cmake=$1 build=$2 source=$3 version=$4

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
cd "$prefix"
unset ORVANE_DATA_DIR

fail() { echo "installed_cli_test: $*" >&2; exit 1; }
cli=$prefix/bin/orvane-cli
[ "$("$cli" --version)" = "orvane-cli $version" ] || fail "orvane-cli --version says $("$cli" --version)"
if [ -e "$build/src/app/orvane" ]; then
  [ "$("$prefix/bin/orvane" --version)" = "orvane $version" ] || fail "orvane --version"
fi

folders=$("$cli" folders)
data=$prefix/share/orvane
printf '%s\n' "$folders" | grep -qx "data: $data" || fail "data folder: $folders"
for name in examples library profiles safety-rules; do
  expected="$name: none"
  [ -d "$source/$name" ] && expected="$name: $data/$name"
  printf '%s\n' "$folders" | grep -qx "$expected" || fail "expected \"$expected\" in: $folders"
done

show=$(find "$data/examples/shows" -mindepth 1 -maxdepth 1 -type d | sort | head -n 1)
[ -n "$show" ] || fail "no example show installed"
"$cli" compile --show "$show" --seed 1 -o "$prefix/show.dat" >/dev/null || fail "compiling $show"
"$cli" info "$prefix/show.dat" | grep -q '^frames: [1-9]' || fail "the compiled example has no frames"

# Every shelf of the library arrives whole: its product list and devices a chain compiles from.
if [ -d "$source/library" ]; then
  for shelf in "$source"/library/*/; do
    name=$(basename "$shelf")
    installed=$data/library/$name
    [ "$(cd "$shelf" && find . -type f | sort)" = "$(cd "$installed" && find . -type f | sort)" ] ||
      fail "library/$name is not installed whole"
    root=$(find "$installed" -maxdepth 1 -name '*.odev' -printf '%f\n' | sort | head -n 1)
    [ -z "$root" ] && continue
    "$cli" compile --devices "$installed" --root "${root%.odev}" --seed 1 -o "$prefix/shelf.dat" >/dev/null ||
      fail "compiling device ${root%.odev} of the installed shelf $name"
  done
fi

for file in share/man/man1/orvane.1.gz share/man/man1/orvane-cli.1.gz share/man/man1/orvane-cli-compile.1.gz \
            share/bash-completion/completions/orvane-cli share/doc/orvane/copyright; do
  [ -s "$prefix/$file" ] || fail "$file is not installed"
done

#!/usr/bin/env bash
# Installs a build tree into a temporary prefix and checks what lands there.
#
#   check_install.sh BUILD_DIR SOURCE_DIR WINDOW_DIR
#
# WINDOW_DIR is the folder of the built window program, or "-" when the build has none.
# Exit status: 0 when every check passes, 1 when one fails, 77 when a tool is missing.
set -u

build=$1
source=$2
window_dir=$3

for tool in desktop-file-validate man; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/vintrel-install-XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
export XDG_CONFIG_HOME=$work/config  # never the user's own settings
mkdir -p "$XDG_CONFIG_HOME"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi

# Every file installed, relative to the prefix, against the files expected.
expected=(bin/vintrel-cli share/man/man1/vintrel-cli.1.gz share/vintrel/vintrel.html)
if [ "$window_dir" != "-" ]; then
  expected+=(bin/vintrel share/applications/vintrel.desktop)
fi
actual=$(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort)
for file in "${expected[@]}"; do
  grep -qxF "$file" <<<"$actual" || fail "$file is not installed"
done
while IFS= read -r file; do
  case " ${expected[*]} " in *" $file "*) continue ;; esac
  case $file in share/icons/hicolor/*/apps/vintrel.png | share/icons/hicolor/*/apps/vintrel.svg)
    [ "$window_dir" != "-" ] && continue ;;
  esac
  fail "unexpected file installed: $file"
done <<<"$actual"

# The command-line converter runs from the installed tree.
cli=$prefix/bin/vintrel-cli
if [ -x "$cli" ]; then
  "$cli" --version | grep -q '^vintrel-cli' || fail "vintrel-cli --version"
  got=$(printf 'This is an exam-\nple of the text.\n' | "$cli" --no-words | od -An -c | tr -s ' ')
  want=$(printf 'This is an example\r\nof the text.\r\n' | od -An -c | tr -s ' ')
  [ "$got" = "$want" ] || fail "vintrel-cli does not join a hyphenated word: $got"
else
  fail "bin/vintrel-cli is not executable"
fi

# The man page reads without a warning and names its program.
man_page=$prefix/share/man/man1/vintrel-cli.1.gz
if [ -f "$man_page" ]; then
  MANWIDTH=80 man --warnings -l "$man_page" >"$work/man.txt" 2>"$work/man.err"
  [ -s "$work/man.err" ] && fail "man -l warns: $(cat "$work/man.err")"
  for word in NAME SYNOPSIS OPTIONS "EXIT STATUS" FILES vintrel.INI vintrel.lst; do
    grep -q "$word" "$work/man.txt" || fail "the man page has no $word"
  done
fi

# The help page: UTF-8 Japanese HTML.
help=$prefix/share/vintrel/vintrel.html
if [ -f "$help" ]; then
  iconv -f UTF-8 -t UTF-8 "$help" >/dev/null 2>&1 || fail "vintrel.html is not valid UTF-8"
  grep -q '<html lang="ja">' "$help" || fail "vintrel.html is not marked as Japanese"
  grep -qi '<meta charset="UTF-8">' "$help" || fail "vintrel.html does not declare UTF-8"
  cmp -s "$help" "$source/data/vintrel.html" || fail "vintrel.html differs from data/vintrel.html"
fi

if [ "$window_dir" != "-" ]; then
  [ -x "$prefix/bin/vintrel" ] || fail "bin/vintrel is not executable"

  # Help Contents finds the page next to the built program as well.
  cmp -s "$window_dir/vintrel.html" "$source/data/vintrel.html" ||
    fail "no up-to-date vintrel.html next to the built program in $window_dir"

  desktop=$prefix/share/applications/vintrel.desktop
  if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" >"$work/desktop.err" 2>&1 ||
      fail "desktop-file-validate: $(cat "$work/desktop.err")"
    for key in '^Name=' '^Name\[ja\]=' '^GenericName=' '^GenericName\[ja\]=' '^Comment=' \
      '^Comment\[ja\]=' '^Categories=.*Utility;'; do
      grep -q "$key" "$desktop" || fail "vintrel.desktop has no ${key#^}"
    done
    exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [ -x "$prefix/bin/$exec_program" ] || fail "Exec=$exec_program is not an installed program"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    compgen -G "$prefix/share/icons/hicolor/*/apps/$icon.*" >/dev/null ||
      fail "Icon=$icon has no image under share/icons/hicolor"
  fi
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed; installed files:"
  echo "$actual"
  exit 1
fi
echo "install tree OK"

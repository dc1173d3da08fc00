#!/usr/bin/env bash
# Builds the Debian packages from a finished build and checks them as a
# packager and a user would, without installing them: lintian reports no error
# and no warning on any; the C library comes as its runtime and development
# packages, split as Debian splits a library; unpacked, huecode-cli runs, both manual pages open and the one of
# huecode-cli lists every option its --help shows, the desktop entry and the
# AppStream metadata validate, and bash, zsh and fish find the completions
# where the package puts them.
# Usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# man-db may read the pages as its own unprivileged user.
chmod 755 "$work"

fail() {
  echo "package test: $*" >&2
  exit 1
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack could not build the package"
fi
deb=$work/out/huecode_${version}_amd64.deb
runtime=$work/out/libhuecode0_${version}_amd64.deb
development=$work/out/libhuecode-dev_${version}_amd64.deb
for package in "$deb" "$runtime" "$development"; do
  [[ -f $package ]] || fail "no ${package##*/} among: $(ls "$work/out")"
done

# As root lintian says it would rather not run as root; that is no finding.
lintian --fail-on error,warning "$work"/out/*.deb 2> >(grep -v 'root privileges' >&2) ||
  fail "lintian has findings (above)"

# The runtime holds the library under its soname and nothing to build with;
# the development files need exactly that runtime.
contents() {
  dpkg-deb -c "$1" | awk '{print $6}' | grep -E '\.so|\.h$|\.pc$|\.cmake$' | sed 's|.*/||' | sort | xargs
}
[[ $(contents "$runtime") == "libhuecode.so.0 libhuecode.so.$version" ]] ||
  fail "libhuecode0 holds $(contents "$runtime")"
development_files="huecode.h huecode.pc huecodeConfig.cmake huecodeConfigVersion.cmake"
[[ $(contents "$development") == "$development_files huecodeTargets-"*".cmake huecodeTargets.cmake libhuecode.so" ]] ||
  fail "libhuecode-dev holds $(contents "$development")"
[[ $(dpkg-deb -f "$development" Depends) == "libhuecode0 (= $version)" ]] ||
  fail "libhuecode-dev depends on '$(dpkg-deb -f "$development" Depends)'"
[[ $(dpkg-deb -I "$runtime" triggers) == "activate-noawait ldconfig" ]] ||
  fail "libhuecode0 does not trigger ldconfig"

dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr
cli=$usr/bin/huecode-cli

[[ $("$cli" --version) == "huecode-cli $version" ]] || fail "unpacked huecode-cli --version is wrong"
if ! "$cli" --bar-png "$work/bar.png" x >/dev/null || [[ ! -s $work/bar.png ]]; then
  fail "unpacked huecode-cli cannot load its picture module"
fi

page=$(LC_ALL=C MANWIDTH=200 man -l "$usr/share/man/man1/huecode-cli.1.gz") ||
  fail "man cannot show huecode-cli(1)"
options=$("$cli" --help | sed -nE 's/^  (-[-a-z]+).*/\1/p')
for option in $options; do
  [[ $option == -- ]] && continue
  grep -qF -- "$option" <<<"$page" || fail "huecode-cli(1) does not mention $option"
done
LC_ALL=C man -l "$usr/share/man/man1/huecode.1.gz" | grep -q huecode-cli ||
  fail "man cannot show huecode(1)"

desktop-file-validate "$usr/share/applications/huecode.desktop" ||
  fail "the desktop entry does not validate"
appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml ||
  fail "the AppStream metadata does not validate"

# bash-completion loads a command's completion on first use from the folders
# in XDG_DATA_DIRS; here only the unpacked package is there.
offered=$(XDG_DATA_DIRS=$usr/share PATH="$usr/bin:$PATH" bash --norc -c '
  source /usr/share/bash-completion/bash_completion
  __load_completion huecode-cli || exit 3
  spec=$(complete -p huecode-cli) || exit 4
  function=${spec#*-F }
  function=${function%% *}
  COMP_WORDS=(huecode-cli --preset "")
  COMP_CWORD=2
  COMP_LINE="huecode-cli --preset "
  COMP_POINT=${#COMP_LINE}
  "$function" huecode-cli "" --preset
  compgen -W "${COMPREPLY[*]}" -- h') || fail "bash does not load the packaged completion"
[[ $offered == html ]] || fail "bash completes 'huecode-cli --preset h' as '$offered', not html"

offered=$(PATH="$usr/bin:$PATH" fish --no-config -c "set fish_complete_path $usr/share/fish/vendor_completions.d
  complete -C 'huecode-cli --by g'" | cut -f1)
[[ $offered == grapheme ]] || fail "fish completes 'huecode-cli --by g' as '$offered', not grapheme"

loaded=$(zsh -f -c "fpath=($usr/share/zsh/vendor-completions \$fpath)
  autoload -U compinit && compinit -u -D && print -r -- \${_comps[huecode-cli]}")
[[ $loaded == _huecode-cli ]] || fail "zsh does not find the packaged completion"

echo "package test: $(basename "$deb") is clean and works unpacked"

#!/bin/bash
# Each program's folders are layers: a folder's code includes only the folders below it, the program's
# root headers and common/; common/ includes no program. Tests and test helpers sit above every layer.
# usage: tools/layers_test.sh            checks the source tree (after proving it catches a wrong include)
#        tools/layers_test.sh --tree DIR checks DIR only
declare -A order=(
  [guard]="startup control monitors signer process"
  [browser]="shell tools pages files"
  [search]="engine extras"
)

code_files() {  # the files of folder $1 (not below it with $2 = 1) that are neither tests nor test helpers
  [[ -d $1 ]] || return 0
  local depth=(); [[ $2 == 1 ]] && depth=(-maxdepth 1)
  find "$1" "${depth[@]}" \( -name '*.cpp' -o -name '*.h' \) ! -name '*_test.cpp' ! -name '*_wintest.cpp' \
    ! -name '*_fuzz.cpp' ! -name main.cpp ! -path '*/testing/*'
}
# Prints file:include for every include of $1 matching the pattern $2; fails when there is none.
includes() { grep -HEo "#include \"$2[^\"]*\"" "$1"; }

check_tree() (
  cd "$1" || exit 2
  bad=0
  for f in $(code_files common); do includes "$f" '(guard|browser|search)/' && bad=1; done
  for prog in "${!order[@]}"; do
    [[ -d $prog ]] || continue
    layers=(${order[$prog]})
    for ((i = 0; i < ${#layers[@]}; i++)); do
      for f in $(code_files "$prog/${layers[i]}"); do
        for up in "${layers[@]:0:i}"; do includes "$f" "$prog/$up/" && bad=1; done
      done
    done
    for f in $(code_files "$prog" 1); do includes "$f" "$prog/[a-z_]+/" && bad=1; done
  done
  exit $bad
)

if [[ $1 == --tree ]]; then check_tree "$2"; exit; fi
root=$(cd "$(dirname "$0")/.." && pwd)
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
mkdir -p "$probe/browser/pages" "$probe/browser/shell" "$probe/common"
echo '#include "browser/pages/favorites.h"' > "$probe/browser/shell/frame.cpp"
echo '#include "browser/shell/frame.h"' > "$probe/browser/pages/favorites.cpp"
if check_tree "$probe" > /dev/null; then echo "a page file including the frame went unseen"; exit 1; fi
check_tree "$root" && echo "every include points down"

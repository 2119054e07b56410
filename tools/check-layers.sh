#!/usr/bin/env bash
# Fails when a file includes across the layers the wrong way, or includes Qt outside a qt/ folder.
#   engine -> (nothing)      view -> engine      app -> view, engine
#   econ -> app, view, engine      cli -> econ, app, view, engine
set -u
cd "$(dirname "$0")/.."
status=0
check() {  # folder, allowed include prefixes (regex)
  local folder=$1 allowed=$2
  while IFS= read -r hit; do
    echo "layer violation: $hit"
    status=1
  done < <(grep -rnE '#include "[a-z]+/' "$folder" --include='*.h' --include='*.cpp' \
             | grep -v '/qt/' | grep -vE "#include \"($allowed)/")
}
check engine 'engine'
check view 'engine|view'
check app 'engine|view|app'
check econ 'engine|view|app|econ'
check cli 'engine|view|app|econ|cli'
while IFS= read -r hit; do
  echo "Qt outside a qt/ folder: $hit"
  status=1
done < <(grep -rnE '#include <Q[A-Za-z]+|#include <qt' engine view app econ cli tests bench \
           --include='*.h' --include='*.cpp' 2>/dev/null | grep -v '/qt/' | grep -v '^tests/gui/')
[ $status -eq 0 ] && echo "layers ok"
exit $status

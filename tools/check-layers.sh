#!/usr/bin/env bash
# Fails when a file includes across the floors the wrong way, or includes Qt where the toolkit
# does not belong. Every folder may include its own files and those of the floors below it:
#
#   python      the keldovar Python module   -> cli, forest, econ, script, view, app, carbon,
#                                               document, engine
#   cli/qt      cli (keldovar-pdf)           -> view/qt, econ, script, view, app, carbon,
#                                               document, engine
#   cli                                      -> forest, econ, script, view, app, carbon, document,
#                                               engine
#   desktop                                  -> desktop/dialogs, forest, econ, script, view/qt,
#                                               view, app, carbon, document, engine
#   forest                                   -> econ, script, app, carbon, document, engine
#   desktop/dialogs (one class per dialog)   -> script, view/qt, carbon, document, engine
#   econ                                     -> script, view, carbon, document, engine
#   view/qt                                  -> view, carbon, document, engine
#   script                                   -> carbon, document, engine
#   view                                     -> carbon, document, engine
#   app                                      -> document, engine
#   carbon                                   -> document, engine
#   document                                 -> engine
#   engine                                   -> (nothing)
#
# Qt headers are included only in desktop/, view/qt/, cli/qt/, tools/qt/, bench/qt/ and the
# QtTest binary tests/gui/.
set -u
cd "$(dirname "$0")/.."
status=0

# The project's includes of a folder's own files ("folder/file.h"), not of its subfolders'.
includes_of() {  # folder, -> "file:line:#include ..." lines
  local folder=$1
  find "$folder" -maxdepth 1 -type f \( -name '*.h' -o -name '*.cpp' \) -print0 2>/dev/null \
    | xargs -0 -r grep -nHE '#include "[a-z_]+/'
}

check() {  # folder, allowed include prefixes (regex, whole folder paths)
  local folder=$1 allowed=$2
  while IFS= read -r hit; do
    echo "layer violation: $hit"
    status=1
  done < <(includes_of "$folder" | grep -vE "#include \"($allowed)/[a-z_]+\.h\"")
}

check engine 'engine'
check document 'engine|document'
check carbon 'engine|document|carbon'
check view 'engine|document|carbon|view'
check app 'engine|document|app'
check script 'engine|document|carbon|script'
check econ 'engine|document|carbon|script|view|econ'
check forest 'engine|document|carbon|script|econ|app|forest'
check view/qt 'engine|document|carbon|view|view/qt'
check desktop 'engine|document|carbon|view|view/qt|app|script|econ|forest|desktop|desktop/dialogs'
check desktop/dialogs 'engine|document|carbon|view/qt|script|desktop/dialogs'
check cli 'engine|document|carbon|view|app|script|econ|forest|cli'
check cli/qt 'engine|document|carbon|view|view/qt|app|script|econ|cli|cli/qt'
check python 'engine|document|carbon|view|app|script|econ|forest|cli|python'

# Every folder of the program's sources must have a floor above.
for folder in $(find engine document carbon view app script econ forest desktop cli python -type d); do
  case " engine document carbon view app script econ forest view/qt desktop desktop/dialogs desktop/icons cli cli/qt python python/keldovar " in
    *" $folder "*) ;;
    *) echo "folder without a floor in tools/check-layers.sh: $folder"; status=1 ;;
  esac
done

while IFS= read -r hit; do
  echo "Qt outside desktop/ and the qt/ folders: $hit"
  status=1
done < <(grep -rnE '#include <Q[A-Za-z]+|#include <qt' engine document carbon view app script econ forest cli python tests bench \
           --include='*.h' --include='*.cpp' 2>/dev/null | grep -v '/qt/' | grep -v '^tests/gui/')
[ $status -eq 0 ] && echo "layers ok"
exit $status

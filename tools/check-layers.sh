#!/usr/bin/env bash
# Fails when a file includes across the floors the wrong way, or includes Qt where the toolkit
# does not belong. Every folder may include its own files and those of the floors below it:
#
#   python      the keldovar Python module   -> cli, forest, econ, script, view, app, carbon,
#                                               document, engine, units
#   cli/qt      cli (keldovar-pdf)           -> view/qt, econ, script, view, app, carbon,
#                                               document, engine, units
#   cli                                      -> forest, econ, script, view, app, carbon, document,
#                                               engine, units
#   desktop                                  -> desktop/dialogs, forest, econ, script, view/qt,
#                                               view, app, carbon, document, engine, units
#   forest                                   -> econ, script, app, carbon, document, engine, units
#   desktop/dialogs (one class per dialog)   -> script, view/qt, carbon, document, engine, units
#   econ                                     -> script, view, carbon, document, engine, units
#   view/qt                                  -> view, carbon, document, engine, units
#   script                                   -> carbon, document, engine, units
#   view                                     -> carbon, document, engine, units
#   app                                      -> document, engine, units
#   carbon                                   -> document, engine, units
#   document                                 -> engine, units
#   engine                                   -> (nothing)
#   units (the conversion factors)           -> (nothing)
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

check units 'units'
check engine 'engine'
check document 'engine|units|document'
check carbon 'engine|units|document|carbon'
check view 'engine|units|document|carbon|view'
check app 'engine|units|document|app'
check script 'engine|units|document|carbon|script'
check econ 'engine|units|document|carbon|script|view|econ'
check forest 'engine|units|document|carbon|script|econ|app|forest'
check view/qt 'engine|units|document|carbon|view|view/qt'
check desktop 'engine|units|document|carbon|view|view/qt|app|script|econ|forest|desktop|desktop/dialogs'
check desktop/dialogs 'engine|units|document|carbon|view/qt|script|desktop/dialogs'
check cli 'engine|units|document|carbon|view|app|script|econ|forest|cli'
check cli/qt 'engine|units|document|carbon|view|view/qt|app|script|econ|cli|cli/qt'
check python 'engine|units|document|carbon|view|app|script|econ|forest|cli|python'

# Every folder of the program's sources must have a floor above.
for folder in $(find units engine document carbon view app script econ forest desktop cli python -type d); do
  case " units engine document carbon view app script econ forest view/qt desktop desktop/dialogs desktop/icons cli cli/qt python python/keldovar " in
    *" $folder "*) ;;
    *) echo "folder without a floor in tools/check-layers.sh: $folder"; status=1 ;;
  esac
done

while IFS= read -r hit; do
  echo "Qt outside desktop/ and the qt/ folders: $hit"
  status=1
done < <(grep -rnE '#include <Q[A-Za-z]+|#include <qt' units engine document carbon view app script econ forest cli python tests bench \
           --include='*.h' --include='*.cpp' 2>/dev/null | grep -v '/qt/' | grep -v '^tests/gui/')
[ $status -eq 0 ] && echo "layers ok"
exit $status

#!/usr/bin/env bash
# The desktop and documentation checks run by ctest. Exit 77 (skipped) only when a tool is absent.
#   desktop-checks.sh CHECK ARGS...
set -u

need() {
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIPPED: $tool is not installed (tools/install-deps.sh installs it)"
      exit 77
    fi
  done
}

scratch() {
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
}

# Every argument after TEXT must occur in it; with GREP_WHOLE_LINE=-x, as a line of its own.
contains_all() {
  local text=$1 missing=0
  shift
  for name in "$@"; do
    if ! grep -qF ${GREP_WHOLE_LINE:-} -- "$name" <<<"$text"; then
      echo "not found: $name"
      missing=1
    fi
  done
  return $missing
}

check=$1
shift
case $check in
  desktop-file)
    need desktop-file-validate
    desktop-file-validate "$1" && echo "desktop entry valid" ;;
  metainfo)
    need appstreamcli
    appstreamcli validate --no-net --pedantic "$1" ;;
  mime-xml)
    need xmllint
    xmllint --noout "$1" && echo "MIME package well formed" ;;
  mime-query)
    # A stand file saved by keldovar-cli, and the same bytes under a name without the
    # extension (found by the magic alone), as the desktop would see them.
    need update-mime-database xdg-mime mimetype
    mime_xml=$1 cli=$2 script=$3
    scratch
    mkdir -p "$tmp/share/mime/packages" "$tmp/home"
    cp "$mime_xml" "$tmp/share/mime/packages/keldovar.xml"
    XDG_DATA_HOME="$tmp/share" XDG_DATA_DIRS="$tmp/share:/usr/share" \
      update-mime-database "$tmp/share/mime" || exit 1
    "$cli" run "$script" --out "$tmp/stand.kdv" --clock "2026-12-07 10:00:00" >/dev/null || exit 1
    cp "$tmp/stand.kdv" "$tmp/stand-without-extension"
    status=0
    for file in "$tmp/stand.kdv" "$tmp/stand-without-extension"; do
      type=$(env -u XDG_CURRENT_DESKTOP -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
               -u DESKTOP_SESSION HOME="$tmp/home" XDG_DATA_HOME="$tmp/share" \
               XDG_DATA_DIRS="$tmp/share:/usr/share" DISPLAY= xdg-mime query filetype "$file")
      echo "$(basename "$file"): $type"
      [ "$type" = application/x-keldovar-stand ] || status=1
    done
    exit $status ;;
  chm-pages)
    need chmls
    chm=$1
    shift
    listing=$(chmls list "$chm") || exit 1
    contains_all "$listing" "$@" && echo "all $# pages in $(basename "$chm")" ;;
  manual-commands)
    # Fails when a command is added to the menus but not to the manual, whose command
    # reference gives every command a heading of its own.
    need pdftotext
    pdf=$1 names=$2
    text=$(pdftotext "$pdf" - | sed 's/^[[:space:]]*//; s/[[:space:]]*$//') || exit 1
    mapfile -t commands < <("$names")
    [ ${#commands[@]} -gt 0 ] || { echo "no command names"; exit 1; }
    GREP_WHOLE_LINE=-x contains_all "$text" "${commands[@]}" && echo "the manual names all ${#commands[@]} commands" ;;
  missing)
    echo "SKIPPED: $1"
    exit 77 ;;
  *)
    echo "unknown check $check" >&2
    exit 2 ;;
esac

#!/usr/bin/env bash
# Checks the include rules between layers: every project include names a layer the including
# layer may use (every layer may use base, the shared building blocks; base uses nothing of
# ours), only platform/gtk/ includes GTK or GDK headers, and only speech/ includes the
# synthesiser's and the sound system's headers. Prints each violation and
# exits non-zero when there is one.
set -u
src=${1:-$(dirname "$0")/../src}
cd "$src" || exit 2

layer_of() {  # file path relative to src/ -> layer name
  local f=$1
  case $f in
    model/ui/*) echo modelui ;;
    */*) echo "${f%%/*}" ;;
    *) echo root ;;
  esac
}

allowed() {  # layer -> space-separated layers it may include
  case $1 in
    base) echo "base" ;;
    db) echo "db base" ;;
    resources) echo "resources base" ;;
    model) echo "model db resources base" ;;
    exchange) echo "exchange model db resources base" ;;
    platform) echo "platform base" ;;
    speech) echo "speech base" ;;
    shell) echo "shell platform resources base" ;;
    gui) echo "gui shell platform resources base" ;;
    modelui) echo "modelui model db resources gui shell platform base" ;;
    states) echo "states modelui gui shell platform speech resources model db base" ;;
    practice) echo "practice states modelui gui shell platform speech resources model db base" ;;
    program) echo "program statistics screens exchange practice states modelui gui shell platform speech resources model db base" ;;
    screens) echo "screens exchange practice states modelui gui shell platform speech resources model db base" ;;
    statistics) echo "statistics screens exchange practice states modelui gui shell platform speech resources model db base" ;;
    *) echo "" ;;
  esac
}

status=0
while IFS= read -r file; do
  layer=$(layer_of "$file")
  ok=" $(allowed "$layer") "
  while IFS= read -r line; do
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$line")
    tlayer=$(layer_of "$target")
    if [[ $ok != *" $tlayer "* ]]; then
      echo "$file: may not include \"$target\" (layer $layer may use:$(allowed "$layer" | sed 's/^/ /'))"
      status=1
    fi
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file")
  if [[ $file != platform/gtk/* ]] && grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(gtk|gdk|gdkx)[/.]' "$file"; then
    echo "$file: only platform/gtk/ may include GTK or GDK headers"
    status=1
  fi
  if [[ $file != speech/* ]] && grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(espeak-ng|pulse|alsa)/' "$file"; then
    echo "$file: only speech/ may include the synthesiser's and the sound system's headers"
    status=1
  fi
done < <(find . -type f \( -name '*.h' -o -name '*.cpp' \) | sed 's|^\./||' | sort)

exit $status

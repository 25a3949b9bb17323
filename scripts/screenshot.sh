#!/usr/bin/env bash
# make screenshot: the window on a virtual X display, in two pictures in BUILD:
#   janela-inicial.png         the idle window as it opens
#   janela-apos-conversao.png  right after a products run over a sample site, with the
#                              success message on screen
# The second run uses the window's demonstration hook (CONVERSOR_DEMO_PASTA, see
# app/janela/Demonstracao.h), which chooses the sample's files and presses the button.
# Needs Xvfb, xwininfo and ImageMagick's import (make deps-screenshot).
set -euo pipefail
bin=${1:-build/conversor}
build=${2:-build}
rows=${ROWS:-150}
amostra="$(realpath -m "$build")/screenshot-amostra"
titulo="Conversor Korvane + Tessaly"

tmp=$(mktemp -d)
xvfb=""
programa=""
# Ends one process of ours by its id: politely, then for good (the database engine inside the
# program takes SIGTERM for itself while a database is attached).
termina() {
  kill "$1" 2>/dev/null || return 0
  for _ in $(seq 30); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
encerra() {
  [ -z "$programa" ] || termina "$programa"
  [ -z "$xvfb" ] || termina "$xvfb"
  rm -rf "$tmp"
}
trap encerra EXIT

echo "== Amostra em $amostra ($rows linhas)"
"$bin" sample "$amostra" --rows "$rows" >/dev/null

# A display of our own, on the first free number.
Xvfb -displayfd 3 -screen 0 760x520x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || { cat "$tmp/xvfb.log" >&2; echo "Xvfb não iniciou" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$tmp/display")"
export QT_QPA_PLATFORM=xcb

# Waits until a top-level window whose name contains $1 is mapped (at most ~20 s).
espera_janela() {
  for _ in $(seq 200); do
    if xwininfo -root -tree 2>/dev/null | grep -F "\"$1" | grep -qv "has no name"; then
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# The main window's area of the screen, message boxes over it included.
fotografa() {
  local info x y w h
  info=$(xwininfo -name "$titulo")
  x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
  w=$(awk '/Width:/ {print $2}' <<<"$info")
  h=$(awk '/Height:/ {print $2}' <<<"$info")
  sleep 1  # let the last paint land
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$1"
  echo "   $1"
}

para_programa() {
  termina "$programa"
  programa=""
}

echo "== Janela inicial"
"$bin" 2>"$tmp/inicial.log" &
programa=$!
espera_janela "$titulo" || { cat "$tmp/inicial.log" >&2; echo "a janela não abriu" >&2; exit 1; }
fotografa "$build/janela-inicial.png"
para_programa

echo "== Após a conversão de produtos"
CONVERSOR_DEMO_PASTA="$amostra" "$bin" 2>"$tmp/conversao.log" &
programa=$!
espera_janela "$titulo" || { cat "$tmp/conversao.log" >&2; echo "a janela não abriu" >&2; exit 1; }
if ! espera_janela "Informação"; then
  fotografa "$build/janela-apos-conversao.png"
  cat "$tmp/conversao.log" >&2
  echo "a mensagem de sucesso não apareceu (veja $build/janela-apos-conversao.png)" >&2
  exit 1
fi
fotografa "$build/janela-apos-conversao.png"
para_programa

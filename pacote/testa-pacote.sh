#!/usr/bin/env bash
# Builds the Debian package into a folder of its own and checks what a machine would get from it:
# the files, the dependencies, a desktop entry that names the icon, and a program that runs.
set -euo pipefail
build=$1
versao=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" >"$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log"; exit 1; }
deb=$tmp/conversor_${versao}_amd64.deb
[ -f "$deb" ] || { echo "falta $deb"; ls "$tmp"; exit 1; }

falhas=0
falha() { echo "FALHA: $*"; falhas=$((falhas + 1)); }
# "WIDTHxHEIGHT" from a PNG's header (IHDR: big-endian, bytes 16 to 23), "não PNG" otherwise.
lados_png() {
  if [ "$(od -An -c -j1 -N3 "$1" | tr -d ' ')" != PNG ]; then
    echo "não PNG"
    return
  fi
  od -An -tu1 -j16 -N8 "$1" | awk '{
    printf "%dx%d\n", (($1 * 256 + $2) * 256 + $3) * 256 + $4, (($5 * 256 + $6) * 256 + $7) * 256 + $8
  }'
}

conteudo=$(dpkg-deb -c "$deb" | awk '{print $6}')
esperados="./usr/bin/conversor ./usr/share/applications/conversor.desktop
  ./usr/share/man/man1/conversor.1.gz"
for lado in 16 22 24 32 48 64 128 256; do
  esperados="$esperados ./usr/share/icons/hicolor/${lado}x${lado}/apps/conversor.png"
done
for f in $esperados; do
  grep -qxF "$f" <<<"$conteudo" || falha "o pacote não tem $f"
done

depende=$(dpkg-deb -f "$deb" Depends)
for p in libfbclient2 firebird3.0-server-core libqt6widgets6 qt6-qpa-plugins libzip4 libexpat1; do
  grep -qE "(^|, )$p( |,|$)" <<<"$depende" || falha "Depends não tem $p: $depende"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$versao" ] || falha "versão $(dpkg-deb -f "$deb" Version)"

raiz=$tmp/raiz
dpkg-deb -x "$deb" "$raiz"
entrada=$raiz/usr/share/applications/conversor.desktop
for linha in "Exec=conversor" "Icon=conversor" "Categories=Office;Database;" "Type=Application"; do
  grep -qxF "$linha" "$entrada" || falha "conversor.desktop sem $linha"
done
for lado in 16 22 24 32 48 64 128 256; do
  icone=$raiz/usr/share/icons/hicolor/${lado}x${lado}/apps/conversor.png
  [ -f "$icone" ] || continue
  medida=$(lados_png "$icone")
  [ "$medida" = "${lado}x${lado}" ] || falha "o ícone de ${lado}x${lado} tem $medida pixels"
done
gzip -t "$raiz/usr/share/man/man1/conversor.1.gz" || falha "manual não é gzip"
zcat "$raiz/usr/share/man/man1/conversor.1.gz" | grep -qF "conversor $versao" ||
  falha "manual sem a versão"
"$raiz/usr/bin/conversor" --version | grep -qxF "conversor $versao" ||
  falha "o programa do pacote não diz a versão $versao"

[ "$falhas" = 0 ] && echo "Pacote $(basename "$deb") conferido."
exit "$falhas"

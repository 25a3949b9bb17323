#!/usr/bin/env bash
# After ctest: why each skipped test was skipped. ctest keeps every test's output in
# Testing/Temporary/LastTest.log but shows a skipped one's only with -V; GoogleTest writes the
# reason between "FILE:LINE: Skipped" and "[  SKIPPED ]".
#   scripts/motivos-pulados.sh BUILD
set -euo pipefail
registro=${1:-build}/Testing/Temporary/LastTest.log
[ -f "$registro" ] || exit 0
awk '
  /^[0-9]+\/[0-9]+ Test: / { teste = substr($0, index($0, "Test: ") + 6) }
  /^[^ ]*:[0-9]+: Skipped$/ { lendo = 1; next }
  lendo && /^\[  SKIPPED \]/ { lendo = 0; next }
  lendo && NF && !visto[teste, $0]++ {
    if (!cabecalho++) print "Testes pulados, e por quê:"
    print "  " teste ": " $0
  }
' "$registro"

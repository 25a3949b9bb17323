#!/usr/bin/env bash
# Builds the fuzz targets in their own folder and runs them.
#   fuzz/roda.sh PASTA sementes   each target over its starting inputs once, no new inputs
#   fuzz/roda.sh PASTA SEGUNDOS   each target fuzzed for that long; what it learns stays in
#                                 PASTA/corpus, what makes it fail goes to PASTA/achados
# The compiler is $FUZZ_CXX (default clang++-14, else clang++).
set -euo pipefail
pasta=$1
modo=$2
fonte=$(cd "$(dirname "$0")" && pwd)
alvos="xlsx xls csv parametros"

cxx=${FUZZ_CXX:-$(command -v clang++-14 || command -v clang++ || true)}
if [ -z "$cxx" ]; then
  echo "fuzz: clang++ não encontrado" >&2
  exit 1
fi
if [ ! -f "$pasta/build.ninja" ]; then
  lancador=()
  if command -v ccache >/dev/null; then lancador=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
  cmake -S "$fonte" -B "$pasta" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" "${lancador[@]}" >/dev/null
fi
cmake --build "$pasta" -j "${JOBS:-2}"

# The reader targets go through a file at every input: in memory it costs an eighth of what it
# costs on disk.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

# The readers' libraries may print their own complaints about a damaged file; a finding is
# told by the exit status and the sanitizer's report, not by stderr.
falhas=""
for alvo in $alvos; do
  binario="$pasta/fuzz_$alvo"
  sementes="$pasta/sementes/$alvo"
  if [ "$modo" = sementes ]; then
    echo "== fuzz_$alvo: $(ls "$sementes" | wc -l) entradas iniciais"
    "$binario" "$sementes"/* >"$pasta/fuzz_$alvo.log" 2>&1 || {
      tail -n 40 "$pasta/fuzz_$alvo.log"
      falhas="$falhas $alvo"
    }
  else
    corpus="$pasta/corpus/$alvo"
    mkdir -p "$corpus" "$pasta/achados"
    dicionario=()
    if [ -f "$fonte/$alvo.dict" ]; then dicionario=(-dict="$fonte/$alvo.dict"); fi
    echo "== fuzz_$alvo: $modo s"
    "$binario" "$corpus" "$sementes" -max_total_time="$modo" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$pasta/achados/$alvo-" -print_final_stats=1 "${dicionario[@]}" \
      >"$pasta/fuzz_$alvo.log" 2>&1 || falhas="$falhas $alvo"
    grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)" \
      "$pasta/fuzz_$alvo.log" || true
    grep -E "ERROR: |SUMMARY: |^artifact_prefix|Test unit written" "$pasta/fuzz_$alvo.log" || true
  fi
done
if [ -n "$falhas" ]; then
  echo "fuzz: falharam:$falhas (registros em $pasta/fuzz_*.log)" >&2
  exit 1
fi
echo "fuzz: nada encontrado"

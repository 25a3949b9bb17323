#!/usr/bin/env bash
# make demo: a sample customer site, then the three conversions headless, then what they wrote.
set -euo pipefail
bin=${1:-build/conversor}
dir=${2:-build/demo}
rows=${3:-300}

echo "== Amostra em $dir ($rows linhas por tabela)"
"$bin" sample "$dir" --rows "$rows"

for kind in products clients suppliers; do
  case $kind in
    products) workbook="$dir/produtos.xlsx" ;;
    *) workbook="$dir/cadastros.xlsx" ;;
  esac
  echo
  echo "== conversor run --kind $kind --workbook $(basename "$workbook")"
  "$bin" run --kind "$kind" --target "$dir/almuro.fdb" --source "$dir/tessaly.fdb" \
    --workbook "$workbook"
done

echo
echo "== O que ficou no banco ALMURO ($dir/almuro.fdb)"
isql=$(command -v isql-fb || command -v isql || true)
if [ -n "$isql" ]; then
  "$isql" -q -ch WIN1252 -user SYSDBA -password plumcrest "$dir/almuro.fdb" <<'SQL' | iconv -f WINDOWS-1252 -t UTF-8
set heading on;
select 'PRODUTO' as TABELA, count(*) as LINHAS from PRODUTO
union all select 'PRODUTODETALHE', count(*) from PRODUTODETALHE
union all select 'CLIENTE', count(*) from CLIENTE
union all select 'FORNECE', count(*) from FORNECE
union all select 'CLASFISC', count(*) from CLASFISC
union all select 'UNIDADES', count(*) from UNIDADES
union all select 'CIDADES', count(*) from CIDADES;
select first 5 CODPROD, DESCRICAO, UNIDADEENT, cast(PRECO as numeric(15, 2)) as PRECO, CODCLASFIS, CODTRIBUT00 from PRODUTO order by CODPROD;
select first 5 CODCLIENTE, NOME, CODCIDADE, ESTADO, CGCCPF, FONE from CLIENTE order by CODCLIENTE;
select first 5 CODFORNEC, NOME, CODCIDADE, ESTADO, CGCCPF, PESSOA_FJ from FORNECE order by CODFORNEC;
SQL
fi

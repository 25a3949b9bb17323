#!/usr/bin/env bash
# make demo: a sample customer site, then the three conversions headless, then what they wrote.
# Each run gives its own account: per source, what it read, wrote and left out, and why.
set -euo pipefail
bin=${1:-build/conversor}
dir=${2:-build/demo}
rows=${3:-300}

isql=$(command -v isql-fb || command -v isql || true)
almuro=$dir/almuro.fdb
tessaly=$dir/tessaly.fdb

echo "== Amostra em $dir ($rows linhas por tabela)"
"$bin" sample "$dir" --rows "$rows"
echo "→ Um cliente de exemplo: o ALMURO vazio, o TESSALY com produtos, clientes e fornecedores," \
  "e duas planilhas do KORVANE; cadastros.xlsx mistura clientes e fornecedores, marcados linha a" \
  "linha nas colunas 3 (cliente) e 4 (fornecedor)."

# run KIND WORKBOOK: one conversion, as an operator would type it.
run() {
  echo
  echo "== conversor run --kind $1 --workbook $(basename "$2")"
  "$bin" run --kind "$1" --target "$almuro" --source "$tessaly" --workbook "$2"
}

[ -n "$isql" ] || { echo "isql-fb não encontrado: make deps instala firebird3.0-utils." >&2; exit 1; }

run products "$dir/produtos.xlsx"
run clients "$dir/cadastros.xlsx"
run suppliers "$dir/cadastros.xlsx"

echo
echo "== O que ficou no banco ALMURO ($almuro)"
"$isql" -q -ch WIN1252 -user SYSDBA -password plumcrest "$almuro" <<'SQL' | iconv -f WINDOWS-1252 -t UTF-8
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
echo "→ As contagens acima somam as linhas gravadas de cada origem nas contas das conversões;" \
  "abaixo delas, os primeiros registros de cada tabela, como o sistema ALMURO os lê."

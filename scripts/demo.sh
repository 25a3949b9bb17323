#!/usr/bin/env bash
# make demo: a sample customer site, then the three conversions headless, then what they wrote.
# After each step one line ("→ ...") says what it did and why its numbers are what they are.
set -euo pipefail
bin=${1:-build/conversor}
dir=${2:-build/demo}
rows=${3:-300}

isql=$(command -v isql-fb || command -v isql || true)
# Rows of a table, through the embedded engine.
conta() {
  echo "select count(*) from $2;" |
    "$isql" -q -user SYSDBA -password plumcrest "$1" | awk 'NF == 1 && $1 ~ /^[0-9]+$/ { print $1 }'
}
# Rows of a sheet (heading left out) that a run reads, and of those the ones whose column $2 is
# "True" (an empty $2: every row).
linhas_da_planilha() {
  "$bin" preview "$1" | awk -F '\t' -v c="$2" 'NR > 1 && (c == "" || $c == "True")' | wc -l
}
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
planilha=$(linhas_da_planilha "$dir/produtos.xlsx" "")
produtos=$(conta "$almuro" PRODUTO)
echo "→ PRODUTO $produtos = $((produtos - planilha)) de ESTOQUE do TESSALY, com os códigos de lá," \
  "+ $planilha linhas de produtos.xlsx, numeradas depois do maior código;" \
  "PRODUTODETALHE $(conta "$almuro" PRODUTODETALHE): só os produtos do TESSALY têm detalhe;" \
  "CLASFISC $(conta "$almuro" CLASFISC) e UNIDADES $(conta "$almuro" UNIDADES): cada classificação" \
  "fiscal e unidade que os produtos usam, criada uma vez."

# explica KIND-TABLE SOURCE-TABLE FLAG-COLUMN WORD CITIES-BEFORE
explica() {
  local total marcadas origem semnome cidades
  total=$(conta "$almuro" "$1")
  marcadas=$(linhas_da_planilha "$dir/cadastros.xlsx" "$3")
  origem=$((total - marcadas))
  semnome=$(($(conta "$tessaly" "$2") - origem))
  cidades=$(($(conta "$almuro" CIDADES) - $5))
  printf '→ %s %d = %d de %s do TESSALY' "$1" "$total" "$origem" "$2"
  [ "$semnome" -gt 0 ] && printf ' (%d sem nome ficam de fora)' "$semnome"
  printf ' + %d linhas de cadastros.xlsx marcadas como %s (coluna %d = True; uma linha pode ser' \
    "$marcadas" "$4" "$3"
  printf ' cliente e fornecedor); CIDADES %d: ' "$cidades"
  if [ "$cidades" -eq 0 ]; then
    echo "nenhuma nova, as cidades destes endereços já foram criadas pela conversão de clientes."
  else
    echo "as cidades dos endereços que o ALMURO ainda não tinha; a conversão de fornecedores as reaproveita."
  fi
}

cidades=$(conta "$almuro" CIDADES)
run clients "$dir/cadastros.xlsx"
explica CLIENTE CLIENTE 3 cliente "$cidades"

cidades=$(conta "$almuro" CIDADES)
run suppliers "$dir/cadastros.xlsx"
explica FORNECE FORNECEDOR 4 fornecedor "$cidades"

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
echo "→ As contagens acima são as mesmas das linhas \"→\"; abaixo delas, os primeiros registros" \
  "de cada tabela, como o sistema ALMURO os lê."

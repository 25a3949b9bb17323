// A products run over a sample site (source rows + sheet rows), against the floor: the same
// number of PRODUTO rows through one prepared, parameterized INSERT in one transaction.
//   build/bench_produtos [rows]   (default 20000 source rows and 20000 sheet rows)
#include "app/logica/LogicaPrincipal.h"
#include "bench/JanelaMuda.h"
#include "conversion/Consulta.h"
#include "conversion/products/classConverteProduto.h"
#include "schema/Esquemas.h"
#include "schema/amostra/GeradorAmostra.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Column names and default values of the writer's own statement, so the floor writes the same
// columns with values of the same kinds.
void ColunasDoEscritor(std::vector<std::string>& nomes, std::vector<std::string>& valores) {
    TBancoFirebird semBanco(1);
    TJanelaMuda muda;
    TConverteProduto p(semBanco, muda);
    const std::string sql = p.MontaInsert();
    auto lista = [](const std::string& s) {
        std::vector<std::string> r;
        size_t ini = 0;
        while (true) {
            size_t virgula = s.find(',', ini);
            std::string item =
                s.substr(ini, virgula == std::string::npos ? virgula : virgula - ini);
            item.erase(0, item.find_first_not_of(' '));
            item.erase(item.find_last_not_of(' ') + 1);
            r.push_back(item);
            if (virgula == std::string::npos)
                return r;
            ini = virgula + 1;
        }
    };
    const size_t a = sql.find('('), b = sql.find(')'), c = sql.find('(', b), d = sql.rfind(')');
    nomes = lista(sql.substr(a + 1, b - a - 1));
    valores = lista(sql.substr(c + 1, d - c - 1));
    for (auto& v : valores) {
        if (v.size() >= 2 && v.front() == '\'')
            v = v.substr(1, v.size() - 2);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const long linhas = argc > 1 ? std::atol(argv[1]) : 20000;
    const auto dir =
        std::filesystem::temp_directory_path() / ("bench-produtos-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);

    auto t0 = std::chrono::steady_clock::now();
    TOpcoesAmostra opcoes;
    opcoes.diretorio = dir.string();
    opcoes.linhas = linhas;
    TGeradorAmostra(opcoes).Gera();
    std::printf("amostra de %ld linhas criada em %.2f s\n", linhas, Segundos(t0));

    TJanelaMuda janela;
    TLogicaPrincipal logica(janela, janela, janela);
    logica.FormCreate();
    logica.AbreAlmuro((dir / TGeradorAmostra::kAlmuro).string());
    logica.AbreTessaly((dir / TGeradorAmostra::kTessaly).string());
    logica.AbrePlanilha((dir / TGeradorAmostra::kProdutos).string());
    logica.DMCotrolaExcel.SelecionaAba(1);

    t0 = std::chrono::steady_clock::now();
    logica.CarregaDadosExcel();
    const double staging = Segundos(t0);
    t0 = std::chrono::steady_clock::now();
    if (!logica.EfetuaConversao())
        return 1;
    const double conversao = Segundos(t0);
    const long gravadas = linhas + logica.cdsTabelaTemp.TotalRegistros() - 1;

    // The floor, on a fresh target of its own.
    TBancoFirebird piso(1);
    piso.DefineNome((dir / "piso.fdb").string());
    piso.CriaBanco();
    piso.ExecutaScript(esquemas::Todos().at("almuro"));
    std::vector<std::string> nomes, valores;
    ColunasDoEscritor(nomes, valores);
    std::string sql = "insert into PRODUTO (";
    for (size_t i = 0; i < nomes.size(); ++i)
        sql += (i ? ", " : "") + nomes[i];
    sql += ") values (";
    for (size_t i = 0; i < nomes.size(); ++i)
        sql += i ? ", ?" : "?";
    sql += ")";
    t0 = std::chrono::steady_clock::now();
    {
        TComandoPreparado insert(piso, sql);
        std::vector<std::optional<std::string>> linha(valores.begin(), valores.end());
        for (long i = 0; i < gravadas; ++i) {
            char codigo[24];
            std::snprintf(codigo, sizeof codigo, "%06ld", i + 1);
            linha[0] = codigo;
            insert.Executa(linha);
        }
    }
    piso.Transacao().Confirma();
    const double tempoPiso = Segundos(t0);

    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    std::printf("staging da planilha: %ld linhas em %.2f s\n",
                static_cast<long>(logica.cdsTabelaTemp.TotalRegistros()), staging);
    std::printf(
        "conversao de produtos: %ld produtos (%ld do banco, %ld da planilha) em %.2f s = "
        "%.0f linhas/s\n",
        gravadas, linhas, gravadas - linhas, conversao, gravadas / conversao);
    std::printf("piso (INSERT preparado, uma transacao): %ld linhas em %.2f s = %.0f linhas/s\n",
                gravadas, tempoPiso, gravadas / tempoPiso);
    std::printf("razao conversao/piso: %.1fx mais lenta\n", conversao / tempoPiso);
    std::printf("memoria maxima: %ld MiB\n", uso.ru_maxrss / 1024);
    std::filesystem::remove_all(dir);
    return 0;
}

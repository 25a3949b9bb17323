// What the in-process benchmarks share: a sample site of their own in a temporary folder, the
// kinds the command line chose, a run's logic opened on a copy of the site as the window opens
// it, and the processor time of the whole process.
#pragma once

#include "app/logica/LogicaPrincipal.h"
#include "schema/amostra/GeradorAmostra.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

// Every thread of the process, the embedded engine's included.
inline double SegundosDeProcessador() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return s(uso.ru_utime) + s(uso.ru_stime);
}

// A fresh sample site of this many rows in each source table and sheet.
inline std::filesystem::path GeraSitio(const std::string& nome, long linhas) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / (nome + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    TOpcoesAmostra opcoes;
    opcoes.diretorio = dir.string();
    opcoes.linhas = linhas;
    TGeradorAmostra(opcoes).Gera();
    return dir;
}

// The kinds named on the command line from argument primeiro on, all of them when none is.
template <class T>
std::vector<T> TiposEscolhidos(const std::vector<T>& tipos, int argc, char** argv, int primeiro) {
    if (argc <= primeiro)
        return tipos;
    std::vector<T> escolhidos;
    for (int i = primeiro; i < argc; ++i) {
        for (const auto& t : tipos) {
            if (std::string(argv[i]) == t.nome)
                escolhidos.push_back(t);
        }
    }
    return escolhidos;
}

// The logic of a run of the kind over the site into the target, the sheet staged.
inline void AbreSitio(TLogicaPrincipal& logica, const std::filesystem::path& sitio,
                      const std::filesystem::path& alvo, const char* planilha,
                      TTipoConversao tipo) {
    logica.FormCreate();
    logica.AbreAlmuro(alvo.string());
    logica.AbreTessaly((sitio / TGeradorAmostra::kTessaly).string());
    logica.AbrePlanilha((sitio / planilha).string());
    logica.DMCotrolaExcel.SelecionaAba(1);
    logica.DefineTipo(tipo);
    logica.CarregaDadosExcel();
}

}  // namespace bench

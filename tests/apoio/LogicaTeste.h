// The window's logic wired to fresh target and source databases and to recording stand-ins
// for the window, as the mapping and run tests need it.
#pragma once

#include "app/logica/LogicaPrincipal.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/JanelaFalsa.h"

#include <string>
#include <vector>

namespace apoio {

struct TLogicaTeste {
    TLogicaTeste() {
        logica.FormCreate();
        logica.AbreAlmuro(bancos.CaminhoAlmuro());
        logica.AbreTessaly(bancos.CaminhoTessaly());
    }

    // Replaces the staging table with these rows (the first one is the heading row).
    void Planilha(int colunas, const std::vector<std::vector<std::string>>& linhas) {
        logica.cdsTabelaTemp.Recria(colunas);
        for (const auto& l : linhas)
            logica.cdsTabelaTemp.Acrescenta(l);
    }

    TBancosTeste bancos;
    TMensagensGravadas mensagens;
    TProgressoGravado progresso;
    TArquivosFila arquivos;
    TLogicaPrincipal logica{mensagens, progresso, arquivos};
};

}  // namespace apoio

// Each kind's run over a sample site against the floor: the rows that run wrote, read back and
// inserted again into an empty copy of the target through one prepared INSERT per table with
// binary messages (the engine's own row images, no conversion), in one transaction.
//   build/bench_conversao [rows [kind...]]   (default 20000 rows in each source table and each
//   sheet; kinds products, clients, suppliers, default all three)
// Prints, per kind: floor/run KIND RATIO (run S s, floor S s, N rows), in wall-clock time, and
// the same in processor time (every thread of the process, the embedded engine's included),
// which other work on a shared machine disturbs much less.
#include "app/logica/LogicaPrincipal.h"
#include "bench/JanelaMuda.h"
#include "bench/SitioDoBench.h"
#include "conversion/Firebird.h"
#include "conversion/LoteComandos.h"
#include "schema/amostra/GeradorAmostra.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace Firebird;
namespace fs = std::filesystem;

namespace {

struct TTempo {
    double parede = 0, processador = 0;
};

struct TCronometro {
    std::chrono::steady_clock::time_point inicio = std::chrono::steady_clock::now();
    double processador = bench::SegundosDeProcessador();
    TTempo Decorrido() const {
        return {Segundos(inicio), bench::SegundosDeProcessador() - processador};
    }
};

// The rows of one table as the engine hands them out, ready to go back in unchanged.
struct TTabelaLida {
    std::string insert;
    IMessageMetadata* meta = nullptr;
    std::vector<std::vector<unsigned char>> linhas;
};

TTabelaLida LeTabela(TBancoFirebird& banco, const std::string& tabela) {
    IAttachment* att = banco.Attachment();
    ITransaction* tra = banco.TransacaoAtiva();
    fb::Status st;
    IStatement* s = att->prepare(&st, tra, 0, ("select * from " + tabela).c_str(), 1,
                                 IStatement::PREPARE_PREFETCH_METADATA);
    st.Verifica();
    TTabelaLida r;
    r.meta = s->getOutputMetadata(&st);
    st.Verifica();
    const unsigned n = r.meta->getCount(&st);
    r.insert = "insert into " + tabela + " (";
    for (unsigned i = 0; i < n; ++i)
        r.insert += std::string(i ? ", " : "") + r.meta->getField(&st, i);
    r.insert += ") values (";
    for (unsigned i = 0; i < n; ++i)
        r.insert += i ? ", ?" : "?";
    r.insert += ")";
    IResultSet* rs = s->openCursor(&st, tra, nullptr, nullptr, r.meta, 0);
    st.Verifica();
    std::vector<unsigned char> buf(r.meta->getMessageLength(&st));
    while (rs->fetchNext(&st, buf.data()) == IStatus::RESULT_OK)
        r.linhas.push_back(buf);
    st.Verifica();
    rs->close(&st);
    s->free(&st);
    st.Verifica();
    return r;
}

// Inserts every row read into the empty copy; returns the time the inserts and the commit took.
TTempo Piso(const std::string& copia, std::vector<TTabelaLida>& tabelas) {
    TBancoFirebird banco(1);
    banco.DefineNome(copia);
    banco.Conecta();
    IAttachment* att = banco.Attachment();
    const TCronometro cronometro;
    ITransaction* tra = banco.TransacaoAtiva();
    for (auto& t : tabelas) {
        fb::Status st;
        IStatement* s =
            att->prepare(&st, tra, 0, t.insert.c_str(), 1, IStatement::PREPARE_PREFETCH_METADATA);
        st.Verifica();
        for (auto& linha : t.linhas) {
            s->execute(&st, tra, t.meta, linha.data(), nullptr, nullptr);
            st.Verifica();
        }
        s->free(&st);
        st.Verifica();
    }
    banco.Transacao().Confirma();
    return cronometro.Decorrido();
}

struct TTipo {
    const char* nome;
    TTipoConversao tipo;
    const char* planilha;
    std::vector<std::string> tabelas;
};

}  // namespace

int main(int argc, char** argv) {
    const long linhas = argc > 1 ? std::atol(argv[1]) : 20000;
    auto t0 = std::chrono::steady_clock::now();
    const fs::path dir = bench::GeraSitio("bench-conversao", linhas);
    std::fprintf(stderr, "amostra de %ld linhas criada em %.2f s\n", linhas, Segundos(t0));
    const fs::path vazio = dir / TGeradorAmostra::kAlmuro;

    const std::vector<std::string> consultas = {"CLASFISC", "UNIDADES", "CIDADES"};
    std::vector<TTipo> tipos = {
        {"products",
         TTipoConversao::Produtos,
         TGeradorAmostra::kProdutos,
         {"PRODUTO", "PRODUTODETALHE"}},
        {"clients", TTipoConversao::Clientes, TGeradorAmostra::kCadastros, {"CLIENTE"}},
        {"suppliers", TTipoConversao::Fornecedores, TGeradorAmostra::kCadastros, {"FORNECE"}},
    };
    tipos = bench::TiposEscolhidos(tipos, argc, argv, 2);
    int falhas = 0;
    for (auto& tipo : tipos) {
        const fs::path alvo = dir / (std::string(tipo.nome) + ".fdb");
        const fs::path copia = dir / (std::string(tipo.nome) + "-piso.fdb");
        fs::copy_file(vazio, alvo);
        fs::copy_file(vazio, copia);

        TJanelaMuda janela;
        TTempo tempoRun;
        TLoteComandos::TContagem lote;
        std::vector<TTabelaLida> lidas;
        {
            TLogicaPrincipal logica(janela, janela, janela);
            bench::AbreSitio(logica, dir, alvo, tipo.planilha, tipo.tipo);
            const TCronometro cronometro;
            if (!logica.EfetuaConversao()) {
                ++falhas;
                continue;
            }
            tempoRun = cronometro.Decorrido();
            lote = logica.dbAlmuro.Lote().Contagem();
            std::vector<std::string> todas = tipo.tabelas;
            todas.insert(todas.end(), consultas.begin(), consultas.end());
            for (const auto& t : todas)
                lidas.push_back(LeTabela(logica.dbAlmuro, t));
            logica.dbAlmuro.Transacao().Desfaz();
        }
        long gravadas = 0;
        for (const auto& t : lidas)
            gravadas += static_cast<long>(t.linhas.size());
        const TTempo tempoPiso = Piso(copia.string(), lidas);
        for (auto& t : lidas)
            t.meta->release();
        std::printf("floor/run %s %.2f (run %.2f s, floor %.2f s, %ld rows)\n", tipo.nome,
                    tempoPiso.parede / tempoRun.parede, tempoRun.parede, tempoPiso.parede,
                    gravadas);
        std::printf("  cpu floor/run %s %.2f (run %.2f s, floor %.2f s)\n", tipo.nome,
                    tempoPiso.processador / tempoRun.processador, tempoRun.processador,
                    tempoPiso.processador);
        // The writers' executions: one per block, one per statement run alone.
        std::printf(
            "  writes %s: %ld statements in %ld blocks (%ld prepared), %ld alone (%.3f "
            "executions per statement)\n",
            tipo.nome, lote.emBlocos, lote.blocos, lote.preparos, lote.sozinhos,
            static_cast<double>(lote.blocos + lote.sozinhos) /
                static_cast<double>(std::max(1L, lote.emBlocos + lote.sozinhos)));
        std::fflush(stdout);
    }

    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    std::printf("peak memory %ld MiB\n", uso.ru_maxrss / 1024);
    fs::remove_all(dir);
    return falhas ? 1 : 0;
}

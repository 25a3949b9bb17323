// Two runs at once on one target through a server: a lookup row (city, unit, fiscal
// classification) that the other run creates meanwhile is taken from it, never created twice nor
// left empty, so that what is committed is what the two runs in sequence give.
#include "common/Texto.h"
#include "common/Win1252.h"
#include "conversion/BancoFirebird.h"
#include "conversion/Consulta.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/ProcessoFilho.h"
#include "tests/servidor/ApoioServidor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <thread>

namespace {

namespace fs = std::filesystem;
using apoio::TLinha;

struct TSite {
    fs::path pasta;
    std::string Alvo(bool servidor) const {
        return (servidor ? apoio::PrefixoServidor() : std::string()) + (pasta / "almuro.fdb").string();
    }
    std::vector<std::string> Run(const std::string& tipo, bool servidor) const {
        const char* planilha = tipo == "products" ? "produtos.xlsx" : "cadastros.xlsx";
        return {"run",
                "--kind",
                tipo,
                "--target",
                Alvo(servidor),
                "--source",
                (servidor ? apoio::PrefixoServidor() : std::string()) + (pasta / "tessaly.fdb").string(),
                "--workbook",
                (pasta / planilha).string()};
    }
};

class ConcorrenciaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        EXIGE_SERVIDOR(dir_.Caminho());
        amostra_ = dir_.Caminho() / "amostra";
        auto r =
            apoio::ExecutaConversor({"sample", amostra_.string(), "--rows", "150", "--seed", "19"});
        ASSERT_EQ(r.codigo, 0) << r.erros;
    }

    // A copy of the sample, open to the server.
    TSite Copia(const std::string& nome) {
        const fs::path pasta = dir_.Caminho() / nome;
        fs::create_directory(pasta);
        for (const auto& arquivo : fs::directory_iterator(amostra_))
            fs::copy_file(arquivo.path(), pasta / arquivo.path().filename());
        apoio::AbreAoServidor(pasta);
        return {pasta};
    }

    apoio::TDiretorioTemporario dir_;
    fs::path amostra_;
};

// Whether a statement of another attachment that inserts into the table is running: an insert
// that lasts is one waiting for the row this test holds.
bool InsertEsperando(TBancoFirebird& monitor, const std::vector<std::string>& tabelas) {
    bool esperando = false;
    for (const std::string& tabela : tabelas) {
        esperando =
            esperando || apoio::Valor(monitor,
                                      "select count(*) from MON$STATEMENTS where MON$STATE = 1 and "
                                      "MON$ATTACHMENT_ID <> CURRENT_CONNECTION and MON$SQL_TEXT "
                                      "containing 'insert into " +
                                          tabela + "'") != "0";
        monitor.Transacao().Desfaz();  // the next look takes a new snapshot of the monitor
    }
    return esperando;
}

std::vector<std::string> Alertas(const std::string& erros) {
    std::vector<std::string> r;
    size_t i = 0;
    while ((i = erros.find("Alerta", i)) != std::string::npos) {
        const size_t fim = erros.find('\n', i);
        r.push_back(erros.substr(i, fim - i));
        i = fim;
    }
    std::sort(r.begin(), r.end());
    return r;
}

// New lookup rows another run creates: the first fiscal classification and unit of the products,
// or the first supplier's city, under the first code a new table gives.
std::vector<std::pair<std::string, std::vector<std::string>>> LinhasDoOutro(const TSite& site,
                                                                            bool produtos) {
    TBancoFirebird tessaly(3);
    tessaly.DefineNome((site.pasta / "tessaly.fdb").string());
    tessaly.Conecta();
    if (produtos) {
        const std::string ncm = apoio::Valor(
            tessaly, "select first 1 NCM from ESTOQUE where NCM is not null and NCM <> ''");
        return {{"insert into CLASFISC (CODCLASFIS, CODIGONCM, CODNBM) values ('0001', :A, :A)",
                 {texto::Primeiros(texto::Trim(ncm), 8)}},
                {"insert into UNIDADES (UNIDADE) values (:A)", {"UN"}}};
    }
    const auto cidade =
        apoio::Linhas(tessaly,
                      "select first 1 CIDADE, UF from FORNECEDOR where CIDADE is not null and "
                      "CIDADE <> '' order by CODIGO");
    return {{"insert into CIDADES (CODCIDADE, CIDADE, ESTADO) values ('00001', :A, :B)",
             {texto::UpperAZ(cidade.at(0).at(0)), texto::UpperAZ(cidade.at(0).at(1))}}};
}

void Insere(TBancoFirebird& banco,
            const std::vector<std::pair<std::string, std::vector<std::string>>>& linhas) {
    for (const auto& [sql, valores] : linhas) {
        TConsulta q(banco);
        q.DefineSQL(sql);
        const char* nomes[] = {"A", "B"};
        for (size_t k = 0; k < valores.size(); ++k)
            q.Parametro(nomes[k], win1252::DeUtf8(valores[k]));
        q.Executa();
    }
}

const char* const kTabelas[] = {"PRODUTO",  "PRODUTODETALHE", "CLIENTE", "FORNECE",
                                "CLASFISC", "UNIDADES",       "CIDADES"};

// Another run (this test) holds new lookup rows uncommitted while a run through the server needs
// them or their codes: the run waits for it, is refused as a duplicate key, and takes the rows
// the other committed. The result is the run's after the other's commit, row for row.
TEST_F(ConcorrenciaTest, LinhaCriadaPorOutraExecucaoEUsadaComoNaExecucaoEmSequencia) {
    const struct {
        const char* nome;
        const char* tipo;
        const char* origemVazia;  // emptied, so that the sheet creates the cities
        std::vector<std::string> tabelas;
    } casos[] = {
        {"fornecedores", "suppliers", nullptr, {"CIDADES"}},
        {"clientes-planilha", "clients", "CLIENTE", {"CIDADES"}},
        {"produtos", "products", nullptr, {"CLASFISC", "UNIDADES"}},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nome);
        const TSite emSequencia = Copia(std::string(caso.nome) + "-sequencia");
        const TSite juntas = Copia(std::string(caso.nome) + "-juntas");
        const auto linhas = LinhasDoOutro(emSequencia, std::string(caso.tipo) == "products");
        for (const TSite* site : {&emSequencia, &juntas}) {
            if (!caso.origemVazia)
                break;
            TBancoFirebird tessaly(3);
            tessaly.DefineNome((site->pasta / "tessaly.fdb").string());
            tessaly.Conecta();
            apoio::Executa(tessaly, std::string("delete from ") + caso.origemVazia);
        }

        // In sequence: the other run committed, then this one.
        {
            TBancoFirebird alvo(1);
            alvo.DefineNome(emSequencia.Alvo(false));
            alvo.Conecta();
            Insere(alvo, linhas);
            alvo.Transacao().Confirma();
        }
        const auto sequencia = apoio::ExecutaConversor(emSequencia.Run(caso.tipo, false));
        ASSERT_EQ(sequencia.codigo, 0) << sequencia.erros;

        // At once: the other run's rows still uncommitted when this one starts.
        TBancoFirebird outro(1), monitor(1);
        outro.DefineNome(juntas.Alvo(true));
        monitor.DefineNome(juntas.Alvo(true));
        outro.Conecta();
        monitor.Conecta();
        Insere(outro, linhas);
        apoio::TProcessoConversor run(juntas.Run(caso.tipo, true));
        bool esperou = false;
        for (int i = 0; i < 3000 && !esperou && !run.Terminou(); ++i) {
            esperou = InsertEsperando(monitor, caso.tabelas);
            if (!esperou)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        outro.Transacao().Confirma();
        const auto r = run.Espera();
        EXPECT_TRUE(esperou) << "a execução não chegou a esperar pela linha do outro";
        ASSERT_EQ(r.codigo, 0) << r.erros;
        EXPECT_EQ(Alertas(r.erros), Alertas(sequencia.erros)) << r.erros;

        TBancoFirebird esperado(1);
        esperado.DefineNome(emSequencia.Alvo(false));
        esperado.Conecta();
        for (const char* tabela : kTabelas)
            EXPECT_EQ(apoio::LinhasOrdenadas(monitor, tabela),
                      apoio::LinhasOrdenadas(esperado, tabela))
                << tabela;
    }
}

// Each row with the cities its codes stand for: the codes two runs at once give may differ from
// the ones of the runs in sequence, what they stand for may not.
std::vector<TLinha> ComCidades(TBancoFirebird& banco) {
    auto r = apoio::Linhas(
        banco,
        "select 'C' as T, C.CODCLIENTE, C.NOME, A.CIDADE as C1, A.ESTADO as E1, E.CIDADE as C2, "
        "E.ESTADO as E2, B.CIDADE as C3, B.ESTADO as E3 from CLIENTE C "
        "left join CIDADES A on A.CODCIDADE = C.CODCIDADE "
        "left join CIDADES E on E.CODCIDADE = C.CODCIDADEENT "
        "left join CIDADES B on B.CODCIDADE = C.CODCIDADECOB");
    auto fornecedores = apoio::Linhas(
        banco,
        "select 'F' as T, F.CODFORNEC, F.NOME, A.CIDADE as C1, A.ESTADO as E1 from FORNECE F "
        "left join CIDADES A on A.CODCIDADE = F.CODCIDADE");
    r.insert(r.end(), fornecedores.begin(), fornecedores.end());
    auto cidades = apoio::Linhas(
        banco, "select CIDADE, ESTADO, count(*) as VEZES from CIDADES group by CIDADE, ESTADO");
    r.insert(r.end(), cidades.begin(), cidades.end());
    std::sort(r.begin(), r.end());
    return r;
}

// Which run commits first decides as in sequence (a client city "BHTE" becomes Belo Horizonte
// only when that city is already there), so the two runs at once must give what one of the two
// orders gives.
TEST_F(ConcorrenciaTest, ClientesEFornecedoresJuntosGravamOQueGravamEmSequencia) {
    const TSite juntas = Copia("juntas");
    std::vector<std::vector<TLinha>> emSequencia;
    std::vector<std::string> alertasEsperados;
    for (const auto& ordem : {std::vector<std::string>{"clients", "suppliers"},
                              std::vector<std::string>{"suppliers", "clients"}}) {
        const TSite site = Copia("sequencia-" + ordem[0]);
        alertasEsperados.clear();
        for (const std::string& tipo : ordem) {
            const auto r = apoio::ExecutaConversor(site.Run(tipo, false));
            ASSERT_EQ(r.codigo, 0) << r.erros;
            for (const auto& a : Alertas(r.erros))
                alertasEsperados.push_back(a);
        }
        TBancoFirebird esperado(1);
        esperado.DefineNome(site.Alvo(false));
        esperado.Conecta();
        emSequencia.push_back(ComCidades(esperado));
    }

    apoio::TProcessoConversor clientes(juntas.Run("clients", true));
    apoio::TProcessoConversor fornecedores(juntas.Run("suppliers", true));
    const auto rc = clientes.Espera();
    const auto rf = fornecedores.Espera();
    ASSERT_EQ(rc.codigo, 0) << rc.erros;
    ASSERT_EQ(rf.codigo, 0) << rf.erros;
    std::sort(alertasEsperados.begin(), alertasEsperados.end());
    EXPECT_EQ(Alertas(rc.erros + "\n" + rf.erros), alertasEsperados);

    TBancoFirebird gravado(1);
    gravado.DefineNome(juntas.Alvo(true));
    gravado.Conecta();
    const auto linhas = ComCidades(gravado);
    if (linhas == emSequencia[0] || linhas == emSequencia[1])
        return;
    // The rows that differ from the clients-first order, rather than the whole of both.
    std::vector<TLinha> aMais, aMenos;
    std::set_difference(linhas.begin(), linhas.end(), emSequencia[0].begin(), emSequencia[0].end(),
                        std::back_inserter(aMais));
    std::set_difference(emSequencia[0].begin(), emSequencia[0].end(), linhas.begin(), linhas.end(),
                        std::back_inserter(aMenos));
    auto texto = [](const std::vector<TLinha>& ls) {
        std::string r;
        for (const TLinha& l : ls) {
            for (const std::string& v : l)
                r += v + "|";
            r += "\n";
        }
        return r;
    };
    ADD_FAILURE() << "nem a ordem clientes-fornecedores nem a inversa; a mais:\n"
                  << texto(aMais) << "faltando:\n"
                  << texto(aMenos) << rc.erros << rf.erros;
}

}  // namespace

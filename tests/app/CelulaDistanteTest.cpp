// A workbook with one stray cell at the sheet's far corner: its used area is every row and column
// the format allows, and listing, previewing and staging it must cost what it holds. Memory is
// checked under an address-space limit in a child process, where a dense allocation fails.
#include "app/logica/LogicaPrincipal.h"
#include "common/Erros.h"
#include "tests/apoio/BancosTeste.h"
#include "tests/apoio/JanelaFalsa.h"
#include "tests/apoio/Processo.h"
#include "tests/spreadsheet/ApoioPlanilhas.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace apoio_planilha;

namespace {

constexpr rlim_t kMegabyte = 1024 * 1024;

struct TCelulaDistante {
    std::string extensao;
    int linhas;
    int colunas;
};

const TCelulaDistante kXlsx{"xlsx", 1048576, 16384};
const TCelulaDistante kXls{"xls", 65536, 256};

// "inicio" in A1 and 7 in the format's last cell.
std::string GravaCelulaDistante(const apoio::TDiretorioTemporario& dir, const TCelulaDistante& f) {
    const std::string caminho = dir.Arquivo("longe." + f.extensao);
    if (f.extensao == "xlsx") {
        GravaZip(caminho,
                 PacoteXlsx({{"Longe",
                              "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>inicio</t></is></c>"
                              "</row><row r=\"1048576\"><c r=\"XFD1048576\"><v>7</v></c></row>"}}));
    } else {
        auto celula = [](unsigned l, unsigned c) { return U16(l) + U16(c) + U16(0x0F); };
        const std::string registros =
            Registro(0x0204, celula(0, 0) + TextoBiff8Compacto("inicio")) +
            Registro(0x0203, celula(65535, 255) + F64(7));
        GravaOle(caminho, {{"Workbook", FluxoBiff8({{"Longe", 0, registros}})}});
    }
    return caminho;
}

std::string Le(const std::string& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void LimitaMemoria(rlim_t bytes) {
    rlimit limite{bytes, bytes};
    setrlimit(RLIMIT_AS, &limite);
}

// The process's address space now, in bytes.
rlim_t EspacoEnderecos() {
    std::ifstream statm("/proc/self/statm");
    rlim_t paginas = 0;
    statm >> paginas;
    return paginas * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

struct TSaida {
    int codigo = -1;
    std::string saida;
    std::string erros;
};

// The program with its address space limited to this many bytes.
TSaida ExecutaLimitado(const apoio::TDiretorioTemporario& dir, std::vector<std::string> args,
                       rlim_t limite) {
    const std::string out = dir.Arquivo("out"), err = dir.Arquivo("err");
    args.insert(args.begin(), CONVERSOR_BINARIO);
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        LimitaMemoria(limite);
        int fo = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int fe = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fo, 1);
        dup2(fe, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int estado = 0;
    waitpid(pid, &estado, 0);
    TSaida r;
    r.codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
    r.saida = Le(out);
    r.erros = Le(err);
    return r;
}

TEST(CelulaDistanteTest, SheetsEPreviewEmMenosDeCemMegabytes) {
    for (const TCelulaDistante& f : {kXlsx, kXls}) {
        SCOPED_TRACE(f.extensao);
        apoio::TDiretorioTemporario dir;
        const std::string caminho = GravaCelulaDistante(dir, f);

        TSaida abas = ExecutaLimitado(dir, {"sheets", caminho}, 100 * kMegabyte);
        EXPECT_EQ(abas.codigo, 0) << abas.erros;
        EXPECT_EQ(abas.saida, "1\tLonge\t" + std::to_string(f.linhas) + "\t" +
                                  std::to_string(f.colunas) + "\n");

        TSaida tsv =
            ExecutaLimitado(dir, {"preview", caminho, "--last-row", "10"}, 100 * kMegabyte);
        EXPECT_EQ(tsv.codigo, 0) << tsv.erros;
        const std::string vazias(static_cast<size_t>(f.colunas - 1), '\t');
        std::string esperado = "inicio" + vazias + "\n";
        for (int i = 2; i <= 10; ++i)
            esperado += vazias + "\n";
        EXPECT_TRUE(tsv.saida == esperado) << tsv.saida.size() << " bytes";
    }
}

// Codes the staging child exits with, so the parent can tell what went wrong.
enum : int { kCarregou = 0, kFalhouACarga = 1, kConteudoErrado = 2 };

int CarregaTudoLimitado(const std::string& caminho, const TCelulaDistante& f) {
    // What the test process holds already, plus room for the rows' index and the cells; a dense
    // table needs gigabytes.
    LimitaMemoria(EspacoEnderecos() + 64 * kMegabyte);
    try {
        TMensagensGravadas mensagens;
        TProgressoGravado progresso;
        TArquivosFila arquivos;
        TLogicaPrincipal logica(mensagens, progresso, arquivos);
        logica.FormCreate();
        logica.AbrePlanilha(caminho);
        if (logica.NumLinha() != std::to_string(f.linhas))
            return kConteudoErrado;
        logica.DMCotrolaExcel.SelecionaAba(1);
        logica.CarregaDadosExcel();
        TTabelaTemp& t = logica.cdsTabelaTemp;
        if (t.TotalRegistros() != f.linhas || t.Colunas() != f.colunas)
            return kConteudoErrado;
        const std::string ultima = std::to_string(f.colunas);
        t.Primeiro();
        if (t.Campo("1") != "inicio" || !t.Campo(ultima).empty())
            return kConteudoErrado;
        for (int i = 1; i < f.linhas; ++i)
            t.Proximo();
        if (t.Campo(ultima) != "7" || !t.Campo("1").empty())
            return kConteudoErrado;
        try {
            t.Campo(std::to_string(f.colunas + 1));
            return kConteudoErrado;
        } catch (const EConversor&) {
        }
    } catch (const std::exception&) {
        return kFalhouACarga;
    }
    return kCarregou;
}

TEST(CelulaDistanteTest, CargaDeTodasAsLinhasComMemoriaLimitada) {
    for (const TCelulaDistante& f : {kXlsx, kXls}) {
        SCOPED_TRACE(f.extensao);
        apoio::TDiretorioTemporario dir;
        const std::string caminho = GravaCelulaDistante(dir, f);
        pid_t pid = fork();
        if (pid == 0)
            _exit(CarregaTudoLimitado(caminho, f));
        int estado = 0;
        waitpid(pid, &estado, 0);
        ASSERT_TRUE(WIFEXITED(estado));
        EXPECT_EQ(WEXITSTATUS(estado), kCarregou);
    }
}

// Each row goes out as it is read, cut as the staging table cuts it: a cell the reader cannot give
// as text ends the preview with the rows before it already written.
TEST(PreviewTest, LinhasLidasSaemAntesDoErro) {
    apoio::TDiretorioTemporario dir;
    const std::string caminho = dir.Arquivo("erro.xlsx");
    const std::string longo(150, 'x');
    GravaZip(caminho, PacoteXlsx({{"Dados",
                                   "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"
                                   "<row r=\"2\"><c r=\"B2\" t=\"inlineStr\"><is><t>" +
                                       longo +
                                       "</t></is></c></row>"
                                       "<row r=\"3\"><c r=\"A3\" t=\"e\"><v>#N/A</v>"
                                       "</c></row>"}}));
    apoio::TSaidaProcesso r = apoio::ExecutaConversor({"preview", caminho});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.saida, "1\t\n\t" + longo.substr(0, 100) + "\n");
    EXPECT_NE(r.erros.find("A3"), std::string::npos) << r.erros;
}

}  // namespace

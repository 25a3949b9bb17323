// A complete sample site in one folder, for the demo, the manual tests and the benchmarks:
// an empty target database, a filled source database and the two workbooks the operators bring
// (products, and clients and suppliers together). The same seed always gives the same data.
#pragma once

#include <cstdint>
#include <string>

class TBancoFirebird;

struct TOpcoesAmostra {
    std::string diretorio;
    long linhas = 200;  // rows of each source table and of each sheet (heading not counted)
    std::uint64_t semente = 1;
};

struct TResumoAmostra {
    std::string diretorio;
    long estoque = 0;
    long classificacoes = 0;  // CLFISCAL rows
    long clientes = 0;
    long fornecedores = 0;
    long linhasProdutos = 0;   // data rows of produtos.xlsx
    long linhasCadastros = 0;  // data rows of cadastros.xlsx
    double segundos = 0;
};

class TGeradorAmostra {
  public:
    // The product code keeps six digits of the source code, so six digits it is.
    static constexpr long kMaximoLinhas = 900000;

    static constexpr const char* kAlmuro = "almuro.fdb";
    static constexpr const char* kTessaly = "tessaly.fdb";
    static constexpr const char* kProdutos = "produtos.xlsx";
    static constexpr const char* kCadastros = "cadastros.xlsx";

    // Fails with EConversor when the number of rows is out of range.
    explicit TGeradorAmostra(TOpcoesAmostra opcoes);

    // Makes the folder when needed and replaces the four files in it. The files are made in a
    // scratch folder inside it first, so that a failure leaves an earlier sample as it was.
    TResumoAmostra Gera();

  private:
    void CriaAlmuro(const std::string& caminho);
    void CriaTessaly(const std::string& caminho);
    void InsereEstoque(TBancoFirebird& banco);
    void InsereClientes(TBancoFirebird& banco);
    void InsereFornecedores(TBancoFirebird& banco);
    void GravaProdutos(const std::string& caminho);
    void GravaCadastros(const std::string& caminho);

    TOpcoesAmostra opcoes_;
    TResumoAmostra resumo_;
};

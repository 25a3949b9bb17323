// The main window's behaviour without widgets: its inputs and their states, the choice of the
// three files, the conversion run from validation to the final message, the staging table, the
// counters, the value helpers and the six mappings. The Qt window shows this state and forwards
// its events here; the command line and the tests drive the very same object.
#pragma once

#include "app/logica/AvisosDaExecucao.h"
#include "app/logica/ContaDaConversao.h"
#include "app/logica/ContinuacaoPorRegistro.h"
#include "app/logica/GravacaoDaConversao.h"
#include "app/logica/Interfaces.h"
#include "app/logica/Interrupcao.h"
#include "app/logica/LugarConversao.h"
#include "app/logica/PastasDosDialogos.h"
#include "app/logica/RelatoDaExecucao.h"
#include "app/logica/ResumoConversao.h"
#include "app/logica/TabelaTemp.h"
#include "conversion/BancoFirebird.h"
#include "spreadsheet/ControlaExcel.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class TConsultaSequencial;

enum class TTipoConversao { Produtos, Clientes, Fornecedores };

// The controls that can take the focus after a warning.
enum class TControle { Nenhum, Btabrir, MostraPlanilha, NumLinha, btAbrirAlmuro, btnAbrirTessaly };

class TLogicaPrincipal {
  public:
    static constexpr const char* kFiltroPlanilha =
        "Planilha do MS Excel (*.xlsx;*.xls;*.csv)|*.xlsx; *.xls;*.csv";
    static constexpr const char* kFiltroBanco =
        "Banco Firebird (*.FB;*.FDB;*.GDB)|*.FB; *.FDB;*.GDB";
    static constexpr const char* kTituloPlanilha = "Escolher a planilha (KORVANE)";
    static constexpr const char* kTituloAlmuro = "Escolher o banco ALMURO";
    static constexpr const char* kTituloTessaly = "Escolher o banco TESSALY";
    static constexpr const char* kTituloRelatorio = "Salvar o relatório";
    static constexpr const char* kFiltroRelatorio = "Pasta de trabalho do Excel (*.xlsx)|*.xlsx";
    static constexpr const char* kAvisoLinha =
        "Favor informar o numero da linha onde o último registro se encontra na planilha";
    static constexpr const char* kAvisoCaminho =
        "Favor informar o caminho do arquivo a ser convertido!";
    static constexpr const char* kAvisoPlanilha =
        "Favor selecionar uma planilha para ser convertida!";
    static constexpr const char* kSucesso = "Conversão concluída com sucesso!";
    static constexpr const char* kPrefixoErro = "Houve um erro ao realizar a conversão. Motivo: ";
    static constexpr const char* kSimulacao = "Simulação concluída: nada foi gravado.";
    static constexpr const char* kNadaGravado = "Nada foi gravado no banco ALMURO.";
    static constexpr const char* kDesfazendo = "Interrompendo: desfazendo o que foi gravado...";
    static constexpr const char* kConferenciaSemProblema =
        "Conferência concluída: nenhum problema; nada foi gravado.";

    TLogicaPrincipal(IMensagens& mensagens, IProgresso& progresso, IEscolhaArquivo& arquivos);
    ~TLogicaPrincipal();
    TLogicaPrincipal(const TLogicaPrincipal&) = delete;
    TLogicaPrincipal& operator=(const TLogicaPrincipal&) = delete;

    // ---- Event handlers -------------------------------------------------------------------
    void FormCreate();
    void BtabrirClick();
    void btAbrirAlmuroClick();
    void btnAbrirTessalyClick();
    void btOKClick();
    // The check: the same validation, staging and run as btOKClick, rolled back at the end, going
    // past failing records; it ends with IMensagens::Conferencia (or Falha when it could not go
    // on), and its problems and account stay in Relato().
    void btVerificarClick();
    // True when the key closes the window (Esc while the target transaction is not active).
    bool FormKeyDown(int tecla);
    // The character that reaches NumLinha: digits and backspace pass, anything else is '\0'.
    static char NumLinhaKeyPress(char c);
    // A row number the run can use: digits only, at most the last row a sheet can have.
    static bool NumLinhaValida(const std::string& texto);
    // Whether the window may close now: never while a run is under way.
    bool PodeFechar() const { return !emExecucao_; }
    // The run is past its last record and being committed: a stop can no longer undo it.
    bool Gravando() const { return gravacao_.EmCurso(); }
    // Lets go of both databases, so that the engine's last writes happen now, while the window
    // is still there, and not after it has gone.
    void Encerra();

    // ---- Inputs the window forwards -------------------------------------------------------
    // The operator picked an item of MostraPlanilha (-1: none).
    void EscolhePlanilha(int indice);
    // The operator typed into MostraPlanilha; a text that names a sheet selects it.
    void DigitaPlanilha(const std::string& textoUtf8);
    void DefineNumLinha(const std::string& texto) { numLinha_ = texto; }
    void DefineTipo(TTipoConversao tipo) { tipo_ = tipo; }
    // A rehearsal does the whole run and rolls it back instead of committing it.
    void DefineEnsaio(bool ensaio) {
        modo_ = ensaio ? TModoExecucao::Ensaio : TModoExecucao::Conversao;
    }
    // A check is a rehearsal that goes past failing records and lists them.
    void DefineConferencia(bool conferencia) {
        modo_ = conferencia ? TModoExecucao::Conferencia : TModoExecucao::Conversao;
    }
    TModoExecucao Modo() const { return modo_; }

    // Opens a workbook or a database by path, as the dialogs do once a file is chosen.
    void AbrePlanilha(const std::string& caminho);
    void AbreAlmuro(const std::string& caminho);
    void AbreTessaly(const std::string& caminho);

    // ---- State the window shows -----------------------------------------------------------
    const std::string& Caminho() const { return caminho_; }
    const std::string& CaminhoAlmuro() const { return caminhoAlmuro_; }
    const std::string& CaminhoTessaly() const { return caminhoTessaly_; }
    // Sheet names, in UTF-8 for display.
    const std::vector<std::string>& Planilhas() const { return planilhas_; }
    int IndicePlanilha() const { return indicePlanilha_; }
    const std::string& TextoPlanilha() const { return textoPlanilha_; }
    const std::string& NumLinha() const { return numLinha_; }
    TTipoConversao Tipo() const { return tipo_; }
    bool ControlesHabilitados() const { return controlesHabilitados_; }
    bool EmExecucao() const { return emExecucao_; }
    TControle Foco() const { return foco_; }
    const TProgresso& Progresso() const { return progresso_; }
    // What the last run, rehearsal or check told (feito is false before the first). It is
    // complete when IMensagens hears of the end (Sucesso, Falha, Conferencia).
    const TRelatoDaExecucao& Relato() const { return relato_; }
    // Writes Relato() as an xlsx workbook at caminho (UTF-8). A report that cannot be written
    // is an "Alerta" saying why, and false; nothing else changes.
    bool SalvaRelatorio(const std::string& caminho);
    // "Salvar relatório..." of the window's closing boxes and of the check's dialog: the file
    // chosen in a save dialog (".xlsx" added to a name without it), then SalvaRelatorio. A
    // cancelled dialog saves nothing.
    void btSalvarRelatorioClick();

    // ---- The run ---------------------------------------------------------------------------
    bool ValidaCampos();
    void DesabilitaControles();
    void HabilitaControles();
    void CarregaDadosExcel();
    // Returns true when the run went through: committed, or rolled back as a rehearsal.
    bool EfetuaConversao();
    void IniciaTransacao();
    void DesfazTransacao();
    void ConfirmaTransacao();

    // The six mappings; each lives in the folder of its kind.
    void ConverteProdutosBanco();
    void ConverteProdutosPlanilha();
    void ConverteClientesBanco();
    void ConverteClientesPlanilha();
    void ConverteFornecedoresBanco();
    void ConverteFornecedoresPlanilha();

    // ---- Value helpers of the sheet mappings ----------------------------------------------
    static std::string LimpaTexto(const std::string& texto);
    static std::string ZerosEsquerda(const std::string& texto, int largura);
    static std::string FormataTelefone(const std::string& texto);
    std::string BuscaCodCidade(const std::string& cidade, const std::string& estado);
    static constexpr const char* kInsereCidadePlanilha =
        "Insert Into CIDADES (CODCIDADE, CIDADE, ESTADO) Values(:PCODCIDADE, :PCIDADE, :PESTADO)";
    // The city code of a sheet row: no lookup, and no code, for a blank city.
    std::string CodCidadeDaPlanilha(const std::string& cidade, const std::string& estado);
    // The masks a sheet holds where the operator never filled in the CNPJ or the CPF.
    static bool DocumentoEmBranco(const std::string& documento);
    // A sheet code written with more digits than the code has would be cut and repeat another
    // record's code: the run ends instead. cadastro names the record ("produto", ...).
    static void ExigeCodigoQueCabe(const std::string& cadastro, std::int64_t codigo, int digitos,
                                   int linha);
    // The first of the sheet rows primeiraLinha..ultimaLinha, numbered from primeiroCodigo on,
    // whose code would not fit in digitos digits; 0 when they all fit.
    static int PrimeiraLinhaSemCodigo(std::int64_t primeiroCodigo, int digitos, int primeiraLinha,
                                      int ultimaLinha);
    // The same rows as one failure naming the first row that does not fit and how many follow.
    static void ExigeCodigosQueCabem(const std::string& cadastro, std::int64_t primeiroCodigo,
                                     int digitos, int primeiraLinha, int ultimaLinha);
    // Walks the staged rows after the heading, showing the caption and the row counts, and
    // hands each one (by its sheet row number) to the mapping, as one record (see
    // TContinuacaoPorRegistro; descarta resets the mapping's writers after a failed one). Rows
    // after ateLinha (-1: none) are not walked: they belong to a problem listed already.
    void PercorrePlanilha(const std::string& aguarde,
                          const std::function<void(int linha)>& converteLinha,
                          const std::function<void()>& descarta, int ateLinha = -1);
    // Walks the records of an open source query of the source table, with the caption
    // "<aguarde><n> de <total>", each one as one record as above.
    void PercorreOrigem(TConsultaSequencial& origem, const std::string& tabela,
                        const std::string& aguarde, const std::function<void()>& converteRegistro,
                        const std::function<void()>& descarta);

    // ---- Progress display, as the mappings drive it ---------------------------------------
    void DefineAguarde(const std::string& texto);
    void DefineStatus(const std::string& texto);
    void DefineBarraMaximo(int maximo);
    void DefineBarraPosicao(int posicao);
    void AvancaBarra() { DefineBarraPosicao(progresso_.barraPosicao + 1); }
    // Once per row or record: window events run, and a stop asked for meanwhile ends the run.
    void ProcessaMensagens() {
        progresso_i_.ProcessaMensagens();
        TInterrupcao::Verifica();
    }

    // ---- Members the mappings and the command line reach ----------------------------------
    TBancoFirebird dbAlmuro{1};
    TBancoFirebird dbTessaly{3};
    TTabelaTemp cdsTabelaTemp;
    TDMCotrolaExcel DMCotrolaExcel;
    // Where the mappings are, for the place a failure names.
    TLugarConversao Lugar;
    std::int64_t ContadorProduto = 0;
    std::int64_t ContadorCliente = 0;
    std::int64_t ContadorFornecedor = 0;
    // What each source gave: read, written, left out and why.
    TContaDaConversao Conta;
    // Record by record: in a check a failing record is undone and listed, and the pass goes on.
    TContinuacaoPorRegistro Continuacao{dbAlmuro, Lugar, Conta};

    // The warnings of the run's lookups: each text reaches the operator once per run.
    IAvisos& Avisos() { return avisos_; }

  private:
    void CarregaPlanilhas();
    void PreencheNumLinha();
    void TrocaBanco(TBancoFirebird& banco, std::string& caminhoVisivel, const std::string& novo);
    void Notifica() { progresso_i_.Mudou(progresso_); }
    std::optional<std::string> EscolheArquivo(TCaixaArquivo caixa, const char* titulo,
                                              const char* filtro, bool salvar = false);
    void LimpaProgresso();
    void ComecaExecucao();
    // A row number past the sheet's used area is asked about; false when the operator declines.
    bool ConfirmaLinhasAlemDaPlanilha(std::int64_t linha);
    std::string DetalheDaFalha() const;
    void Grava();
    // Shows a caption that stays while a step runs that lets no events run.
    void MostraEspera(const char* aguarde);
    void LiberaAlmuro();
    // The inputs and the start of the run, in relato_.
    void ComecaRelato();
    // The end of a run that went through (committed, rehearsed or checked), in relato_.
    void TerminaRelato(const std::string& desfecho, const std::string& resumo);

    IMensagens& mensagens_;
    IProgresso& progresso_i_;
    IEscolhaArquivo& arquivos_;
    TAvisosDaExecucao avisos_{mensagens_};
    TResumoConversao resumo_;
    TGravacaoDaConversao gravacao_;
    TModoExecucao modo_ = TModoExecucao::Conversao;
    TRelatoDaExecucao relato_;
    TPastasDosDialogos pastas_;

    std::string caminho_;
    std::string caminhoAlmuro_;
    std::string caminhoTessaly_;
    std::vector<std::string> planilhas_;
    int indicePlanilha_ = -1;
    std::string textoPlanilha_;
    std::string numLinha_;
    TTipoConversao tipo_ = TTipoConversao::Produtos;
    bool controlesHabilitados_ = false;
    bool emExecucao_ = false;
    TControle foco_ = TControle::Btabrir;
    TProgresso progresso_;
};

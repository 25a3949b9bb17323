#include "app/logica/LogicaPrincipal.h"

#include "app/logica/RelatorioXlsx.h"
#include "app/logica/VerificacaoConversao.h"
#include "app/logica/VersaoPrograma.h"
#include "common/Erros.h"
#include "common/Texto.h"
#include "common/Win1252.h"
#include "conversion/LoteComandos.h"

#include <ctime>

namespace {

// The largest row a sheet can have; a longer count cannot be a row of the workbook.
constexpr std::int64_t kMaiorLinha = 1048576;

bool LinhaValida(const std::string& texto, std::int64_t& linha) {
    if (texto.empty())
        return false;
    for (char c : texto) {
        if (c < '0' || c > '9')
            return false;
    }
    return texto::TentaLerInteiro(texto, linha) && linha <= kMaiorLinha;
}

}  // namespace

TLogicaPrincipal::TLogicaPrincipal(IMensagens& mensagens, IProgresso& progresso,
                                   IEscolhaArquivo& arquivos)
    : mensagens_(mensagens), progresso_i_(progresso), arquivos_(arquivos) {
    // The source is only read, from one stable snapshot per run, and each row once, in order:
    // a small cache serves it, and the run's memory does not grow with the source.
    dbTessaly.Transacao().DefineSomenteLeitura(true);
    dbTessaly.DefinePaginasEmCache(256);
    // The target is written at its end and through its indexes: 8 MB of pages hold what is
    // written again, and the cache stops there instead of at 16 MB (8 000 rows ran as fast as
    // with the engine's 2 048 pages).
    dbAlmuro.DefinePaginasEmCache(1024);
    dbAlmuro.DefinePapel("ALMURO");
    dbTessaly.DefinePapel("TESSALY");
    // Through a server the writers' rows go many at a time, each keeping its record's place.
    dbAlmuro.Lote().DefineUso(TLoteComandos::TUso::PeloServidor);
    dbAlmuro.Lote().DefineLugar(&Lugar);
}

TLogicaPrincipal::~TLogicaPrincipal() = default;

// ---- Event handlers -----------------------------------------------------------------------

void TLogicaPrincipal::FormCreate() {
    HabilitaControles();
    tipo_ = TTipoConversao::Produtos;
    foco_ = TControle::Btabrir;
}

std::optional<std::string> TLogicaPrincipal::EscolheArquivo(TCaixaArquivo caixa, const char* titulo,
                                                            const char* filtro, bool salvar) {
    auto escolhido = arquivos_.Escolhe({titulo, filtro, pastas_.PastaPara(caixa), salvar});
    if (escolhido && !escolhido->empty())
        pastas_.Escolhido(caixa, *escolhido);
    return escolhido;
}

void TLogicaPrincipal::BtabrirClick() {
    auto escolhido = EscolheArquivo(TCaixaArquivo::Planilha, kTituloPlanilha, kFiltroPlanilha);
    if (!escolhido || escolhido->empty())
        return;  // a cancelled dialog changes nothing
    AbrePlanilha(*escolhido);
}

void TLogicaPrincipal::btAbrirAlmuroClick() {
    auto escolhido = EscolheArquivo(TCaixaArquivo::Almuro, kTituloAlmuro, kFiltroBanco);
    if (escolhido && !escolhido->empty())
        AbreAlmuro(*escolhido);
}

void TLogicaPrincipal::btnAbrirTessalyClick() {
    auto escolhido = EscolheArquivo(TCaixaArquivo::Tessaly, kTituloTessaly, kFiltroBanco);
    if (escolhido && !escolhido->empty())
        AbreTessaly(*escolhido);
}

void TLogicaPrincipal::AbrePlanilha(const std::string& caminho) {
    caminho_ = caminho;
    CarregaPlanilhas();
    PreencheNumLinha();
}

void TLogicaPrincipal::CarregaPlanilhas() {
    planilhas_.clear();
    indicePlanilha_ = -1;
    textoPlanilha_.clear();
    DMCotrolaExcel.AbreArquivoExcel(caminho_);
    for (const std::string& nome : DMCotrolaExcel.ListaAbas()) {
        planilhas_.push_back(win1252::ParaUtf8(nome));
    }
    DMCotrolaExcel.LiberaListaAbas();
    if (!planilhas_.empty()) {
        indicePlanilha_ = 0;
        textoPlanilha_ = planilhas_[0];
    }
}

// The row count shown is the last used row of the sheet the list shows.
void TLogicaPrincipal::PreencheNumLinha() {
    if (indicePlanilha_ < 0 || !DMCotrolaExcel.TemPastaAberta())
        return;
    DMCotrolaExcel.SelecionaAba(indicePlanilha_ + 1);
    numLinha_ = std::to_string(DMCotrolaExcel.UltimaLinha());
}

void TLogicaPrincipal::EscolhePlanilha(int indice) {
    if (indice < -1 || indice >= static_cast<int>(planilhas_.size()))
        indice = -1;
    indicePlanilha_ = indice;
    if (indice >= 0) {
        textoPlanilha_ = planilhas_[static_cast<size_t>(indice)];
        PreencheNumLinha();
    }
}

void TLogicaPrincipal::DigitaPlanilha(const std::string& textoUtf8) {
    textoPlanilha_ = textoUtf8;
    int achado = -1;
    for (size_t i = 0; i < planilhas_.size() && achado < 0; ++i) {
        if (planilhas_[i] == textoUtf8)
            achado = static_cast<int>(i);
    }
    // Sheet names are unique without regard to case, as the spreadsheet application keeps them.
    const std::string chave = texto::UpperAZ(textoUtf8);
    for (size_t i = 0; i < planilhas_.size() && achado < 0; ++i) {
        if (texto::UpperAZ(planilhas_[i]) == chave)
            achado = static_cast<int>(i);
    }
    if (achado == indicePlanilha_)
        return;
    indicePlanilha_ = achado;
    if (achado >= 0)
        PreencheNumLinha();
}

void TLogicaPrincipal::AbreAlmuro(const std::string& caminho) {
    TrocaBanco(dbAlmuro, caminhoAlmuro_, caminho);
}

void TLogicaPrincipal::AbreTessaly(const std::string& caminho) {
    TrocaBanco(dbTessaly, caminhoTessaly_, caminho);
}

// Another file for an open connection: the new file is tried first, so a file that cannot be
// opened leaves the old connection (and the path that shows it) as they were.
void TLogicaPrincipal::TrocaBanco(TBancoFirebird& banco, std::string& caminhoVisivel,
                                  const std::string& novo) {
    if (emExecucao_)
        return;
    if (banco.Conectado() && banco.Nome() == novo)
        return;
    if (banco.Conectado()) {
        {
            TBancoFirebird teste(banco.Dialeto());
            teste.DefinePapel(banco.Papel());
            teste.DefineNome(novo);
            teste.Conecta();
        }
        banco.Desconecta();
    }
    banco.DefineNome(novo);
    try {
        banco.Conecta();
    } catch (...) {
        banco.DefineNome(std::string());
        caminhoVisivel.clear();
        throw;
    }
    caminhoVisivel = novo;
}

bool TLogicaPrincipal::FormKeyDown(int tecla) {
    constexpr int kEsc = 27;
    return tecla == kEsc && !dbAlmuro.Transacao().Ativa() && !emExecucao_;
}

bool TLogicaPrincipal::NumLinhaValida(const std::string& texto) {
    std::int64_t linha = 0;
    return LinhaValida(texto, linha);
}

char TLogicaPrincipal::NumLinhaKeyPress(char c) {
    if (c == 8 || (c >= '0' && c <= '9'))
        return c;
    return '\0';
}

void TLogicaPrincipal::btOKClick() {
    std::int64_t linha = 0;
    if (!LinhaValida(numLinha_, linha)) {
        mensagens_.Alerta(kAvisoLinha);
        foco_ = TControle::NumLinha;
        return;
    }
    if (DMCotrolaExcel.TemPastaAberta() && indicePlanilha_ >= 0) {
        DMCotrolaExcel.SelecionaAba(indicePlanilha_ + 1);
    }
    if (ValidaCampos())
        return;
    if (!ConfirmaLinhasAlemDaPlanilha(linha)) {
        foco_ = TControle::NumLinha;
        return;
    }

    ComecaExecucao();
    DesabilitaControles();
    try {
        CarregaDadosExcel();
    } catch (...) {
        // A sheet that cannot be staged ends the click, with the window usable again and no
        // loading left on display.
        LimpaProgresso();
        HabilitaControles();
        throw;
    }
    EfetuaConversao();
    HabilitaControles();
}

void TLogicaPrincipal::btVerificarClick() {
    const TModoExecucao antes = modo_;
    modo_ = TModoExecucao::Conferencia;
    try {
        btOKClick();
    } catch (...) {
        modo_ = antes;
        throw;
    }
    modo_ = antes;
}

bool TLogicaPrincipal::ConfirmaLinhasAlemDaPlanilha(std::int64_t linha) {
    if (!DMCotrolaExcel.TemPastaAberta())
        return true;
    const std::int64_t usada = DMCotrolaExcel.UltimaLinha();
    if (linha <= usada)
        return true;
    const std::int64_t vazias = linha - usada;
    const std::string situacao =
        "A última linha usada da planilha \"" + textoPlanilha_ + "\" é a " + std::to_string(usada) +
        ": até a linha " + std::to_string(linha) + " informada, " + std::to_string(vazias) +
        (vazias == 1 ? " linha vazia seria convertida." : " linhas vazias seriam convertidas.");
    return mensagens_.Pergunta(situacao, "Converter assim mesmo?");
}

bool TLogicaPrincipal::ValidaCampos() {
    if (caminho_.empty()) {
        mensagens_.Alerta(kAvisoCaminho);
        foco_ = TControle::Btabrir;
        return true;
    }
    if (indicePlanilha_ == -1) {
        mensagens_.Alerta(kAvisoPlanilha);
        foco_ = TControle::MostraPlanilha;
        return true;
    }
    return false;
}

void TLogicaPrincipal::DesabilitaControles() {
    controlesHabilitados_ = false;
    emExecucao_ = true;
}

void TLogicaPrincipal::HabilitaControles() {
    controlesHabilitados_ = true;
    emExecucao_ = false;
}

void TLogicaPrincipal::CarregaDadosExcel() {
    const int colunas = DMCotrolaExcel.UltimaColuna();
    std::int64_t n = 0;
    if (!LinhaValida(numLinha_, n))
        n = texto::LeInteiro(numLinha_);
    const int linhas = static_cast<int>(n);
    DefineBarraPosicao(0);
    DefineBarraMaximo(linhas);
    DefineAguarde("Carregando dados do Excel, aguarde!");
    // The table reads its rows from the sheet as the mapping reaches them; what staging still
    // has to do is fail on the first row whose cells cannot become texts, as reading it would.
    const int comErro = DMCotrolaExcel.PrimeiraLinhaComErro();
    cdsTabelaTemp.RecriaDaPlanilha(colunas, DMCotrolaExcel.LinhasDaAba());
    const std::string deTotal = " de " + std::to_string(linhas);
    for (int i = 1; i <= linhas; ++i) {
        DefineStatus("Processando Registro " + std::to_string(i) + deTotal);
        ProcessaMensagens();
        if (i == comErro)
            DMCotrolaExcel.LeLinha(i);
        cdsTabelaTemp.AcrescentaLinhaDaPlanilha();
        AvancaBarra();
        DefineStatus(std::string());
    }
}

void TLogicaPrincipal::ComecaExecucao() {
    avisos_.Comeca();
    resumo_.IniciaRelogio();
}

std::string TLogicaPrincipal::DetalheDaFalha() const {
    if (avisos_.Contagens().empty())
        return kNadaGravado;
    return std::string(kNadaGravado) + "\n" + avisos_.Resumo();
}

void TLogicaPrincipal::ComecaRelato() {
    relato_ = TRelatoDaExecucao{};
    relato_.feito = true;
    relato_.modo = modo_;
    relato_.almuro = caminhoAlmuro_;
    relato_.tessaly = caminhoTessaly_;
    relato_.pasta = caminho_;
    relato_.planilha = textoPlanilha_;
    relato_.ultimaLinha = numLinha_;
    switch (tipo_) {
        case TTipoConversao::Produtos:
            relato_.tipo = "Produtos";
            break;
        case TTipoConversao::Clientes:
            relato_.tipo = "Clientes";
            break;
        case TTipoConversao::Fornecedores:
            relato_.tipo = "Fornecedores";
            break;
    }
    const std::time_t agora = std::time(nullptr);
    std::tm local{};
    localtime_r(&agora, &local);
    char texto[32];
    std::strftime(texto, sizeof texto, "%d/%m/%Y %H:%M:%S", &local);
    relato_.dataHora = texto;
    relato_.versao = VersaoDoPrograma();
}

void TLogicaPrincipal::TerminaRelato(const std::string& desfecho, const std::string& resumo) {
    relato_.concluida = true;
    relato_.desfecho = desfecho;
    relato_.resumo = resumo;
    relato_.conta = Conta;
    relato_.problemas = Continuacao.Problemas();
    relato_.avisos = avisos_.Contagens();
}

bool TLogicaPrincipal::SalvaRelatorio(const std::string& caminho) {
    try {
        GravaRelatorioXlsx(caminho, relato_);
        return true;
    } catch (const std::exception& e) {
        mensagens_.Alerta(e.what());
        return false;
    }
}

bool TLogicaPrincipal::EfetuaConversao() {
    if (!emExecucao_)
        ComecaExecucao();
    Lugar.Limpa();
    ComecaRelato();
    Conta.Comeca();
    Continuacao.Comeca();
    Continuacao.Liga(modo_ == TModoExecucao::Conferencia);
    auto encerraOrigem = [this] {
        try {
            dbTessaly.Transacao().Desfaz();
        } catch (const std::exception&) {
            // A read-only snapshot that cannot be ended is dropped with the connection.
        }
    };
    std::string resumoDoEnsaio;
    try {
        IniciaTransacao();
        VerificaBancosDaConversao(tipo_, dbAlmuro, dbTessaly);
        resumo_.ContaAntes(dbAlmuro, tipo_);
        TInterrupcao::Verifica();
        // What a mapping's writers hold is written when the mapping ends.
        auto mapeia = [this](void (TLogicaPrincipal::*mapeamento)()) {
            (this->*mapeamento)();
            dbAlmuro.Lote().Descarrega();
        };
        if (tipo_ == TTipoConversao::Produtos) {
            mapeia(&TLogicaPrincipal::ConverteProdutosBanco);
            mapeia(&TLogicaPrincipal::ConverteProdutosPlanilha);
        }
        if (tipo_ == TTipoConversao::Clientes) {
            mapeia(&TLogicaPrincipal::ConverteClientesBanco);
            mapeia(&TLogicaPrincipal::ConverteClientesPlanilha);
        }
        if (tipo_ == TTipoConversao::Fornecedores) {
            mapeia(&TLogicaPrincipal::ConverteFornecedoresBanco);
            mapeia(&TLogicaPrincipal::ConverteFornecedoresPlanilha);
        }
        if (modo_ != TModoExecucao::Conversao) {
            TInterrupcao::Verifica();
            resumoDoEnsaio = resumo_.Texto(dbAlmuro, avisos_, Conta);
            DesfazTransacao();
            // A rehearsal stopped before its end says so, even though it wrote nothing.
            TInterrupcao::Verifica();
        } else {
            Grava();
        }
    } catch (const std::exception& e) {
        gravacao_.Termina();
        // A held row refused came before this failure: it is the run's, named where it was.
        const std::string motivo = dbAlmuro.Lote().RecusaRetida().value_or(e.what());
        const std::string lugar = Lugar.Descricao();
        const TPartesLugar partes = Lugar.Partes();
        Lugar.Limpa();
        Continuacao.Liga(false);
        const bool interrompida = TInterrupcao::Pedida();
        if (interrompida)
            MostraEspera(kDesfazendo);
        try {
            DesfazTransacao();
        } catch (const std::exception&) {
            // The engine undoes a transaction whose rollback failed when the connection ends.
        }
        encerraOrigem();
        if (interrompida)
            LiberaAlmuro();
        const std::string texto =
            std::string(kPrefixoErro) + "\r" + (lugar.empty() ? "" : lugar + ": ") + motivo;
        // The report of a failed run holds the failure as its last problem.
        TerminaRelato(texto, DetalheDaFalha());
        relato_.concluida = false;
        relato_.problemas.push_back(
            {partes.origem, partes.registro, partes.coluna, partes.conteudo, lugar, motivo});
        mensagens_.Falha(texto, DetalheDaFalha());
        LimpaProgresso();
        return false;
    }
    Continuacao.Liga(false);
    encerraOrigem();
    if (modo_ == TModoExecucao::Conferencia) {
        TerminaRelato(std::string(), resumoDoEnsaio);
        relato_.desfecho = relato_.FimDaConferencia();
        mensagens_.Conferencia(relato_);
        return true;
    }
    if (modo_ == TModoExecucao::Ensaio) {
        TerminaRelato(kSimulacao, resumoDoEnsaio);
        mensagens_.Sucesso(
            kSimulacao, [] { return std::string(); }, [&resumoDoEnsaio] { return resumoDoEnsaio; });
        return true;
    }
    TerminaRelato(kSucesso, std::string());
    mensagens_.Sucesso(
        kSucesso, [this] { return gravacao_.Aviso(); },
        [this] {
            std::string resumo = resumo_.Texto(dbAlmuro, avisos_, Conta);
            relato_.resumo = resumo;
            try {
                DesfazTransacao();  // the counts' own transaction: it only read
            } catch (const std::exception&) {
            }
            return resumo;
        });
    gravacao_.Termina();
    return true;
}

// The last look at a stop, then the commit, with the display saying what the wait is for.
void TLogicaPrincipal::Grava() {
    gravacao_.Comeca();
    MostraEspera(TGravacaoDaConversao::kGravando);
    ConfirmaTransacao();
    DefineAguarde(std::string());
}

void TLogicaPrincipal::MostraEspera(const char* aguarde) {
    progresso_.aguarde = aguarde;
    progresso_.status.clear();
    Notifica();
    progresso_i_.MostraJa();
}

// A stopped run ends the program. Letting go of the target now makes the engine write out the
// pages the undone run left in its cache (seconds, after a long run) while the display still
// says the run is being undone, instead of after the window has gone.
void TLogicaPrincipal::LiberaAlmuro() {
    try {
        dbAlmuro.Desconecta();
    } catch (const std::exception&) {
        // The engine lets go of what the detach could not when the process ends.
    }
}

void TLogicaPrincipal::Encerra() {
    LiberaAlmuro();
    try {
        dbTessaly.Desconecta();
    } catch (const std::exception&) {
    }
}

void TLogicaPrincipal::IniciaTransacao() {
    if (!dbAlmuro.Transacao().Ativa())
        dbAlmuro.Transacao().Inicia();
}

void TLogicaPrincipal::DesfazTransacao() {
    if (dbAlmuro.Transacao().Ativa())
        dbAlmuro.Transacao().Desfaz();
}

void TLogicaPrincipal::ConfirmaTransacao() {
    if (dbAlmuro.Transacao().Ativa())
        dbAlmuro.Transacao().Confirma();
}

// ---- Progress ------------------------------------------------------------------------------

// The gauge keeps its maximum: only the position goes back to 0.
void TLogicaPrincipal::LimpaProgresso() {
    progresso_.aguarde.clear();
    progresso_.status.clear();
    progresso_.barraPosicao = 0;
    Notifica();
}

void TLogicaPrincipal::DefineAguarde(const std::string& texto) {
    progresso_.aguarde = texto;
    Notifica();
}

void TLogicaPrincipal::DefineStatus(const std::string& texto) {
    progresso_.status = texto;
    Notifica();
}

void TLogicaPrincipal::DefineBarraMaximo(int maximo) {
    progresso_.barraMaximo = maximo;
    Notifica();
}

void TLogicaPrincipal::DefineBarraPosicao(int posicao) {
    progresso_.barraPosicao = posicao;
    Notifica();
}

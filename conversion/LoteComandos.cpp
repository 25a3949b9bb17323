#include "conversion/LoteComandos.h"

#include "conversion/BancoFirebird.h"
#include "conversion/ComandoEscritor.h"
#include "conversion/ComandoLiteral.h"
#include "conversion/Firebird.h"
#include "conversion/FormaComando.h"
#include "conversion/LugarDosComandos.h"
#include "conversion/TabelasIndependentes.h"

#include <algorithm>
#include <cstring>

using namespace Firebird;

namespace {

// The engine's limits on one statement: 256 contexts of tables (an insert takes one, an update
// two), and input messages of 64 KB for the older interfaces (this one takes more). Inputs cost
// their prepare more than in proportion (about 50 ms for 1 000, 230 ms for 4 000). The message
// is what decides: the engine sets aside the block's whole message and a copy of its inputs at
// every execution, and past some 64 KB it asks the system for that memory and gives it back
// each time; a bigger block also costs the engine more per row. Through a server on this
// machine, 3 000 clients written by 16 KB blocks took 0.99 s and 823 round trips, by 40 KB blocks
// 1.17 s and 507, by 48 KB blocks 1.50 s and 481; behind a relay that adds 2 ms a round trip,
// 2.90 s, 2.39 s and 2.72 s. Products take about the same time from 32 to 48 KB. 40 KB is 13
// products with their details or 15 alone, 27 client statements or 50 supplier ones a trip.
constexpr int kContextos = 250;
constexpr size_t kParametros = 3000;
constexpr size_t kBytesDaMensagem = 40 * 1024;

// The room for a value bound to a column that is not a text: the writers write numbers with 15
// digits at most, "-1.23456789012345E-300" being the longest.
constexpr unsigned kNumeroComoTexto = 24;

}  // namespace

// A statement shape: its markers, the columns they go to and the room each value has.
struct TLoteComandos::TForma {
    int id = 0;
    std::string sql;
    TFormaComando forma;
    std::vector<unsigned> capacidades;  // bytes of each marker's value
    bool agrupavel = false;
};

struct TLoteComandos::TItem {
    TComandoLiteral comando;
    std::string sql;
    TForma* forma;
    std::string marca;
};

// A prepared block: a row of slots, each able to run one statement of the shapes it allows,
// chosen by its selector (NULL: the slot does nothing), so that batches of the same shapes run
// the same prepared block whatever their length. A slot's inputs are declared as the columns
// they go to; shapes of one slot share the inputs of a column they both write.
struct TLoteComandos::TBloco {
    struct TVaga {
        std::vector<TForma*> formas;              // allowed, selector 1, 2, ...
        std::vector<std::vector<size_t>> campos;  // per allowed shape: field of each marker
        size_t seletor = 0;                       // its field
    };
    std::vector<TVaga> vagas;
    std::string sql;
    IMessageMetadata* meta = nullptr;
    unsigned tamanho = 0;
    std::vector<unsigned> posicoes, nulos;
    std::vector<unsigned char> mensagem;
    // Kept here, not in the connection's cache: a block's text is long to look up.
    IStatement* comando = nullptr;

    TBloco() = default;
    TBloco(const TBloco&) = delete;
    TBloco& operator=(const TBloco&) = delete;
    ~TBloco() {
        if (meta)
            meta->release();
        if (comando)
            fb::LiberaComando(comando);
    }

    // Whether the held statements, in their order, fit the slots.
    bool Aceita(const std::vector<TItem>& itens) const;
};

// What one slot costs the engine: contexts, inputs and message bytes.
struct TLoteComandos::TCusto {
    int contextos = 0;
    size_t campos = 1;  // the selector
    size_t bytes = 8;
};

namespace {

struct TChaveCampo {
    std::string coluna;  // TABELA.COLUNA
    int ocorrencia;
    bool operator==(const TChaveCampo& o) const {
        return coluna == o.coluna && ocorrencia == o.ocorrencia;
    }
};

}  // namespace

TLoteComandos::TLoteComandos(TBancoFirebird& banco)
    : banco_(banco), independentes_(std::make_unique<TTabelasIndependentes>()) {}

TLoteComandos::~TLoteComandos() = default;

void TLoteComandos::Esquece() {
    itens_.clear();
    blocos_.clear();
    formas_.clear();
    independentes_->Esquece();
}

bool TLoteComandos::PodeAdiantar(const std::vector<std::string>& tabelas) {
    std::vector<std::string> retidas;
    for (const TItem& item : itens_) {
        if (std::find(retidas.begin(), retidas.end(), item.forma->forma.tabela) == retidas.end())
            retidas.push_back(item.forma->forma.tabela);
    }
    if (retidas.empty())
        return false;
    // The catalog is no table of the held rows: it is read before them.
    TAdiante catalogo(*this);
    return independentes_->Independentes(banco_, tabelas, retidas);
}

TLoteComandos::TForma* TLoteComandos::Forma(const std::string& sqlParametrizado) {
    auto achada = formas_.find(sqlParametrizado);
    if (achada != formas_.end())
        return achada->second.get();
    auto f = std::make_unique<TForma>();
    f->id = static_cast<int>(formas_.size());
    f->sql = sqlParametrizado;
    f->forma = FormaDoComando(sqlParametrizado);
    if (f->forma.entendida) {
        // The statement alone tells what each marker takes: the column's own type.
        try {
            IStatement* s = banco_.Comandos().Prepara(banco_.Attachment(), banco_.TransacaoAtiva(),
                                                      sqlParametrizado, banco_.Dialeto());
            fb::Status st;
            IMessageMetadata* meta = s->getInputMetadata(&st);
            st.Verifica();
            const unsigned n = meta->getCount(&st);
            f->agrupavel = n == f->forma.colunas.size();
            for (unsigned i = 0; i < n && f->agrupavel; ++i) {
                const unsigned tipo = meta->getType(&st, i) & ~1u;
                if (tipo == SQL_TEXT || tipo == SQL_VARYING)
                    f->capacidades.push_back(std::max(1u, meta->getLength(&st, i)));
                else if (tipo == SQL_BLOB || tipo == SQL_ARRAY)
                    f->agrupavel = false;
                else
                    f->capacidades.push_back(kNumeroComoTexto);
            }
            meta->release();
            st.Verifica();
        } catch (const EBancoDados&) {
            // Statements that cannot be prepared run alone and fail there with their own text.
            f->agrupavel = false;
        }
    }
    return formas_.emplace(sqlParametrizado, std::move(f)).first->second.get();
}

bool TLoteComandos::Cabe(const TComandoLiteral& comando, const TForma& forma) const {
    const auto& valores = comando.Valores();
    if (valores.size() != forma.capacidades.size())
        return false;
    for (size_t i = 0; i < valores.size(); ++i) {
        if (valores[i].texto.size() > forma.capacidades[i])
            return false;
    }
    return true;
}

namespace {

// The column each marker of a shape writes, and which time in the statement it does.
std::vector<TChaveCampo> ChavesDaForma(const TFormaComando& forma) {
    std::vector<TChaveCampo> chaves;
    for (const std::string& coluna : forma.colunas) {
        const std::string nome = forma.tabela + "." + coluna;
        int ocorrencia = 0;
        for (const TChaveCampo& c : chaves)
            ocorrencia += c.coluna == nome;
        chaves.push_back({nome, ocorrencia});
    }
    return chaves;
}

}  // namespace

size_t TLoteComandos::VagasPara(const TCusto& custo) {
    return std::min({static_cast<size_t>(kContextos / std::max(1, custo.contextos)),
                     kParametros / custo.campos, kBytesDaMensagem / custo.bytes});
}

bool TLoteComandos::TBloco::Aceita(const std::vector<TItem>& itens) const {
    if (itens.size() > vagas.size())
        return false;
    for (size_t v = 0; v < itens.size(); ++v) {
        const auto& f = vagas[v].formas;
        if (std::find(f.begin(), f.end(), itens[v].forma) == f.end())
            return false;
    }
    return true;
}

// The inputs of one slot: the columns its shapes write, each once, with the widest room.
TLoteComandos::TCusto TLoteComandos::Custo(const std::vector<TForma*>& formas) {
    TCusto custo;
    std::vector<TChaveCampo> chaves;
    std::vector<unsigned> capacidades;
    for (const TForma* f : formas) {
        custo.contextos += f->forma.contextos;
        const auto suas = ChavesDaForma(f->forma);
        for (size_t i = 0; i < suas.size(); ++i) {
            const auto achada = std::find(chaves.begin(), chaves.end(), suas[i]);
            if (achada == chaves.end()) {
                chaves.push_back(suas[i]);
                capacidades.push_back(f->capacidades[i]);
            } else {
                auto& c = capacidades[static_cast<size_t>(achada - chaves.begin())];
                c = std::max(c, f->capacidades[i]);
            }
        }
    }
    custo.campos += chaves.size();
    for (unsigned c : capacidades)
        custo.bytes += c + 4;
    return custo;
}

// The shortest repeat (up to 4 statements, seen 3 times at least) the held shapes follow, 0 when
// none: a mapping that writes a product and then its detail fills slots that each take one
// shape, every input used. Shapes that mix freely (a client with or without a birth date) get
// slots that take any of them instead.
size_t TLoteComandos::Periodo(const std::vector<TItem>& itens) {
    for (size_t p = 1; p <= 4 && 3 * p <= itens.size(); ++p) {
        bool repete = true;
        for (size_t i = p; i < itens.size() && repete; ++i)
            repete = itens[i].forma == itens[i % p].forma;
        if (repete)
            return p;
    }
    return 0;
}

std::vector<std::vector<TLoteComandos::TForma*>> TLoteComandos::Vagas(
    const std::vector<TItem>& itens) {
    std::vector<std::vector<TForma*>> vagas;
    const size_t periodo = Periodo(itens);
    if (periodo) {
        TCusto unidade;
        for (size_t i = 0; i < periodo; ++i) {
            const TCusto c = Custo({itens[i].forma});
            unidade.contextos += c.contextos;
            unidade.campos += c.campos;
            unidade.bytes += c.bytes;
        }
        const size_t n = std::max<size_t>(1, VagasPara(unidade)) * periodo;
        for (size_t v = 0; v < n; ++v)
            vagas.push_back({itens[v % periodo].forma});
        return vagas;
    }
    std::vector<TForma*> formas;
    for (const TItem& item : itens) {
        if (std::find(formas.begin(), formas.end(), item.forma) == formas.end())
            formas.push_back(item.forma);
    }
    std::sort(formas.begin(), formas.end(),
              [](const TForma* a, const TForma* b) { return a->id < b->id; });
    vagas.assign(std::max<size_t>(1, VagasPara(Custo(formas))), formas);
    return vagas;
}

TLoteComandos::TBloco& TLoteComandos::Bloco(const std::vector<TItem>& itens) {
    for (auto b = blocos_.begin(); b != blocos_.end(); ++b) {
        if ((*b)->Aceita(itens)) {
            std::rotate(blocos_.begin(), b, b + 1);
            return *blocos_.front();
        }
    }
    auto b = std::make_unique<TBloco>();
    const auto vagas = Vagas(itens);
    std::string entradas, corpo;
    std::vector<unsigned> campos;  // 0: a selector; otherwise the room of a text
    for (size_t v = 0; v < vagas.size(); ++v) {
        TBloco::TVaga vaga;
        vaga.formas = vagas[v];
        vaga.seletor = campos.size();
        const std::string nv = std::to_string(v);
        entradas += (v ? ", S" : "S") + nv + " INTEGER = ?";
        campos.push_back(0);
        std::vector<TChaveCampo> chaves;
        std::string desvio;
        for (size_t k = 0; k < vaga.formas.size(); ++k) {
            const TForma& f = *vaga.formas[k];
            const auto suas = ChavesDaForma(f.forma);
            std::vector<size_t> seus;
            for (size_t i = 0; i < suas.size(); ++i) {
                auto achada = std::find(chaves.begin(), chaves.end(), suas[i]);
                size_t j = static_cast<size_t>(achada - chaves.begin());
                if (achada == chaves.end()) {
                    chaves.push_back(suas[i]);
                    campos.push_back(f.capacidades[i]);
                    entradas += ", P" + nv + "_" + std::to_string(j) + " TYPE OF COLUMN " +
                                suas[i].coluna + " = ?";
                } else {
                    auto& c = campos[vaga.seletor + 1 + j];
                    c = std::max(c, f.capacidades[i]);
                }
                seus.push_back(vaga.seletor + 1 + j);
            }
            std::string comando;
            size_t marcador = 0;
            for (char c : f.sql) {
                if (c != '?') {
                    comando += c;
                    continue;
                }
                comando += ":P" + nv + "_" + std::to_string(seus[marcador++] - vaga.seletor - 1);
            }
            desvio += std::string(k ? " ELSE IF (S" : " IF (S") + nv + " = " +
                      std::to_string(k + 1) + ") THEN " + comando + ";";
            vaga.campos.push_back(std::move(seus));
        }
        corpo += desvio + "\n";
        b->vagas.push_back(std::move(vaga));
    }
    b->sql = "EXECUTE BLOCK (" + entradas + ") AS BEGIN\n" + corpo + "END";
    // Slots made another way may read the same: one prepared block serves both.
    for (auto outro = blocos_.begin(); outro != blocos_.end(); ++outro) {
        if ((*outro)->sql == b->sql) {
            std::rotate(blocos_.begin(), outro, outro + 1);
            return *blocos_.front();
        }
    }

    // The values travel as the texts of their literals, each as wide as its column: the engine
    // makes of them what it makes of the literals, and the layout is the block's own.
    fb::Status st;
    const auto n = static_cast<unsigned>(campos.size());
    IMetadataBuilder* mb = fb::Master()->getMetadataBuilder(&st, n);
    st.Verifica();
    for (unsigned i = 0; i < n; ++i) {
        if (campos[i] == 0) {
            mb->setType(&st, i, SQL_LONG + 1);
            mb->setLength(&st, i, sizeof(std::int32_t));
            mb->setScale(&st, i, 0);
        } else {
            mb->setType(&st, i, SQL_VARYING + 1);
            mb->setLength(&st, i, campos[i]);
            mb->setCharSet(&st, i, fb::kCharsetWin1252);
        }
    }
    b->meta = mb->getMetadata(&st);
    mb->release();
    st.Verifica();
    b->tamanho = b->meta->getMessageLength(&st);
    for (unsigned k = 0; k < n; ++k) {
        b->posicoes.push_back(b->meta->getOffset(&st, k));
        b->nulos.push_back(b->meta->getNullOffset(&st, k));
    }
    st.Verifica();
    // The least used block goes: each holds a prepared statement on the connection.
    constexpr size_t kBlocos = 16;
    if (blocos_.size() >= kBlocos)
        blocos_.pop_back();
    blocos_.insert(blocos_.begin(), std::move(b));
    return *blocos_.front();
}

void TLoteComandos::ExecutaSozinho(const std::string& sql) {
    Descarrega();
    ++contagem_.sozinhos;
    ExecutaComandoDoEscritor(banco_, sql);
}

bool TLoteComandos::Agrupa() const {
    return uso_ == TUso::Sempre || (uso_ == TUso::PeloServidor && banco_.Remoto());
}

void TLoteComandos::Grava(const std::string& sql) {
    if (!Agrupa() || ComandosLiterais()) {
        ExecutaSozinho(sql);
        return;
    }
    TComandoLiteral comando(sql);
    TForma* forma = comando.MotorRecusa() ? nullptr : Forma(comando.SqlParametrizado());
    if (!forma || !forma->agrupavel || !Cabe(comando, *forma)) {
        ExecutaSozinho(sql);
        return;
    }
    itens_.push_back({std::move(comando), sql, forma, lugar_ ? lugar_->Marca() : std::string()});
    const size_t cabem = Vagas(itens_).size();
    if (itens_.size() > cabem) {
        // This one would make the block smaller than what is held: the others go first.
        TItem ultimo = std::move(itens_.back());
        itens_.pop_back();
        Descarrega();
        itens_.push_back(std::move(ultimo));
    } else if (itens_.size() == cabem) {
        Descarrega();
    }
}

void TLoteComandos::Descarrega() {
    if (itens_.empty())
        return;
    // Taken out first: what runs from here on finds nothing held.
    std::vector<TItem> itens = std::move(itens_);
    itens_.clear();

    bool executou = false;
    try {
        TBloco& bloco = Bloco(itens);
        std::vector<unsigned char>& mensagem = bloco.mensagem;
        mensagem.assign(bloco.tamanho, 0);
        const short nulo = -1, presente = 0;
        for (unsigned n : bloco.nulos)
            std::memcpy(mensagem.data() + n, &nulo, sizeof nulo);
        auto campo = [&](size_t i) {
            std::memcpy(mensagem.data() + bloco.nulos[i], &presente, sizeof presente);
            return mensagem.data() + bloco.posicoes[i];
        };
        for (size_t v = 0; v < itens.size(); ++v) {
            const TBloco::TVaga& vaga = bloco.vagas[v];
            const size_t k = static_cast<size_t>(
                std::find(vaga.formas.begin(), vaga.formas.end(), itens[v].forma) -
                vaga.formas.begin());
            const auto seletor = static_cast<std::int32_t>(k + 1);
            std::memcpy(campo(vaga.seletor), &seletor, sizeof seletor);
            const auto& valores = itens[v].comando.Valores();
            for (size_t i = 0; i < valores.size(); ++i) {
                const std::string& t = valores[i].texto;
                unsigned char* p = campo(vaga.campos[k][i]);
                const auto n = static_cast<unsigned short>(t.size());
                std::memcpy(p, &n, sizeof n);
                std::memcpy(p + sizeof n, t.data(), t.size());
            }
        }
        ITransaction* tra = banco_.TransacaoDoBloco();
        fb::Status st;
        if (!bloco.comando) {
            ++contagem_.preparos;
            bloco.comando = banco_.Attachment()->prepare(
                &st, tra, 0, bloco.sql.c_str(), static_cast<unsigned>(banco_.Dialeto()), 0);
            if (st.Falhou()) {
                // A target whose columns cannot be named in a block: these shapes run alone.
                bloco.comando = nullptr;
                for (TItem& item : itens)
                    item.forma->agrupavel = false;
                st.Verifica();
            }
        }
        bloco.comando->execute(&st, tra, bloco.meta, mensagem.data(), nullptr, nullptr);
        st.Verifica();
        executou = true;
    } catch (const EBancoDados&) {
        // Nothing of the block stayed: its statements run one by one below.
    }
    if (executou) {
        ++contagem_.blocos;
        contagem_.emBlocos += static_cast<long>(itens.size());
        return;
    }
    UmAUm(itens);
}

void TLoteComandos::UmAUm(std::vector<TItem>& itens) {
    for (const TItem& item : itens) {
        if (lugar_)
            lugar_->Fixa(item.marca);
        ++contagem_.sozinhos;
        try {
            ExecutaComandoDoEscritor(banco_, item.sql);
        } catch (const EBancoDados& e) {
            if (lugar_)
                lugar_->Recusado(e);
            throw ERecusaRetida(e.what(), e.Falha());
        }
    }
    if (lugar_)
        lugar_->Solta();
}

void TLoteComandos::Descarta() {
    itens_.clear();
}

std::optional<std::string> TLoteComandos::RecusaRetida() {
    try {
        Descarrega();
    } catch (const std::exception& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

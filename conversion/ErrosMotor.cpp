#include "conversion/ErrosMotor.h"

#include "common/Win1252.h"
#include "conversion/ArquivoDoBanco.h"
#include "conversion/Credenciais.h"
#include "conversion/Firebird.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <initializer_list>
#include <system_error>

using namespace Firebird;

namespace erros_motor {

TFalhaBanco LeStatus(const void* status) {
    auto* st = static_cast<CheckStatusWrapper*>(const_cast<void*>(status));
    TFalhaBanco f;
    char buffer[4096];
    fb::Util()->formatStatus(buffer, sizeof buffer, st);
    f.textoMotor = win1252::MensagemUtf8(buffer);
    while (!f.textoMotor.empty() && (f.textoMotor.back() == '\n' || f.textoMotor.back() == '\r'))
        f.textoMotor.pop_back();
    const intptr_t* v = st->getErrors();
    while (v && *v != isc_arg_end) {
        const intptr_t tipo = *v++;
        switch (tipo) {
            case isc_arg_gds:
                f.codigos.push_back(static_cast<long>(*v++));
                break;
            case isc_arg_string:
            case isc_arg_interpreted:
                f.textos.push_back(win1252::MensagemUtf8(reinterpret_cast<const char*>(*v++)));
                break;
            case isc_arg_cstring: {
                const auto n = static_cast<size_t>(*v++);
                f.textos.push_back(
                    win1252::MensagemUtf8(std::string(reinterpret_cast<const char*>(*v++), n)));
                break;
            }
            case isc_arg_unix:
                f.errosSistema.push_back(static_cast<long>(*v++));
                break;
            case isc_arg_number:
                f.numeros.push_back(static_cast<long>(*v++));
                break;
            default:
                ++v;  // an SQLSTATE or an OS number of another kind: skipped
                break;
        }
    }
    return f;
}

namespace {

bool ContemAlgum(const std::vector<long>& lista, std::initializer_list<long> procurados) {
    return std::find_first_of(lista.begin(), lista.end(), procurados.begin(), procurados.end()) !=
           lista.end();
}

bool Tem(const TFalhaBanco& f, std::initializer_list<long> codigos) {
    return ContemAlgum(f.codigos, codigos);
}

bool TemErroSistema(const TFalhaBanco& f, std::initializer_list<long> numeros) {
    return ContemAlgum(f.errosSistema, numeros);
}

// The n-th text argument of the status, or "". The engine's common refusals carry few: a
// missing table or column its name; a key violation the constraint, the table and the value.
std::string Texto(const TFalhaBanco& f, size_t n) {
    return n < f.textos.size() ? f.textos[n] : std::string();
}

// A value the operator can recognise: the statement's text, cut when it is long.
std::string ValorMostrado(const std::string& valor) {
    constexpr size_t kMostrado = 60;
    if (valor.size() <= kMostrado)
        return "\"" + win1252::ParaUtf8(valor) + "\"";
    return "\"" + win1252::ParaUtf8(valor.substr(0, kMostrado)) + "...\"";
}

// "CODPROD \"000001\"", "NOME \"a\" e ESTADO \"MG\"".
std::string ColunasEValores(const TFalhaBanco& f) {
    std::string r;
    for (size_t i = 0; i < f.recusados.size(); ++i) {
        if (i > 0)
            r += i + 1 == f.recusados.size() ? " e " : ", ";
        r += f.recusados[i].coluna + " " + ValorMostrado(f.recusados[i].valor);
    }
    return r;
}

// What is wrong with a file that the engine could not read as a database, when this machine can
// look at it; empty when it cannot tell.
std::string EstadoDoArquivo(const TFalhaBanco& f, const std::string& banco) {
    const auto local = ArquivoLocalDoBanco(f.caminho);
    std::error_code erro;
    if (TemErroSistema(f, {EISDIR}) ||
        (local && std::filesystem::is_directory(*local, erro) && !erro))
        return "O caminho do " + banco + " é uma pasta, não o arquivo de um banco de dados.";
    const bool curto = Tem(f, {isc_io_error}) && Tem(f, {isc_random}) && Texto(f, 0) == "read";
    if (!curto)
        return {};
    if (local && std::filesystem::file_size(*local, erro) == 0 && !erro)
        return "O arquivo do " + banco + " está vazio: não é um banco de dados Firebird.";
    return "O arquivo do " + banco +
           " está incompleto: ele termina antes do fim do banco (uma cópia interrompida ou um "
           "arquivo cortado).";
}

std::string Frase(const TFalhaBanco& f) {
    const std::string banco =
        "banco " + f.papel + (f.caminho.empty() ? std::string() : " (" + f.caminho + ")");
    if (Tem(f, {isc_bad_db_handle}) && f.textoMotor == kNaoAberto) {
        if (f.caminho.empty())
            return "O banco " + f.papel + " não foi escolhido: escolha o arquivo do banco " +
                   f.papel + " antes de converter.";
        return "O " + banco + " não está aberto.";
    }
    if (Tem(f, {isc_lock_conflict, isc_update_conflict, isc_deadlock, isc_lock_timeout,
                isc_record_lock, isc_concurrent_transaction})) {
        const std::string tabela =
            f.tabela.empty() ? std::string("uma tabela") : "a tabela " + f.tabela;
        return "Outro usuário está alterando " + tabela + " no " + banco +
               " e a espera terminou: tente de novo quando ele concluir o que faz.";
    }
    if (Tem(f, {isc_already_opened, isc_instance_conflict}))
        return "O " + banco +
               " está em uso por outro programa: feche-o, ou use o banco por um servidor "
               "Firebird (host:/caminho).";
    if (TemErroSistema(f, {ENOSPC}) || Tem(f, {isc_out_of_temp_space, isc_old_no_space}))
        return "Não há espaço em disco para o " + banco + ".";
    if (TemErroSistema(f, {EFBIG}))
        return "O arquivo do " + banco +
               " não pode crescer além do tamanho máximo de arquivo permitido a este processo "
               "(ulimit -f).";
    if (std::string estado = EstadoDoArquivo(f, banco); !estado.empty())
        return estado;
    if (TemErroSistema(f, {EACCES, EPERM, EROFS}) ||
        Tem(f, {isc_read_only_database, isc_no_priv, isc_io_access_err, isc_read_only_trans}))
        return "O " + banco + " é somente leitura ou não há permissão para usá-lo.";
    if (TemErroSistema(f, {EAGAIN, EBUSY}) || Tem(f, {isc_lock_dir_access}))
        return "O " + banco + " está em uso por outro programa.";
    if (Tem(f, {isc_io_error}) && TemErroSistema(f, {ENOENT}))
        return "O arquivo do " + banco + " não foi encontrado.";
    // A server does not pass the system's error number on: its text says why.
    if (Tem(f, {isc_io_open_err}))
        return "O arquivo do " + banco + " não pôde ser aberto.";
    if (Tem(f, {isc_bad_db_format}))
        return "O arquivo do " + banco + " não é um banco de dados Firebird.";
    if (Tem(f, {isc_wrong_ods, isc_badodsver}))
        return "O " + banco +
               " foi gravado por outra versão do Firebird: use um servidor Firebird daquela "
               "versão, informando o banco como host:/caminho, ou atualize o arquivo com um "
               "backup e um restore nesta versão.";
    if (Tem(f, {isc_login}))
        return "O " + banco + " recusou o usuário " + CredenciaisDaConexao().usuario +
               " ou a sua senha: informe o usuário e a senha do servidor nas variáveis ISC_USER "
               "e ISC_PASSWORD.";
    if (Tem(f, {isc_conn_lost, isc_lost_db_connection, isc_net_read_err, isc_net_write_err,
                isc_att_shutdown, isc_shutdown}))
        return "A conexão com o " + banco + " foi perdida.";
    if (Tem(f, {isc_network_error, isc_net_connect_err, isc_host_unknown, isc_unavailable,
                isc_connect_reject}))
        return "O servidor do " + banco + " não pôde ser alcançado.";
    if (Tem(f, {isc_unique_key_violation, isc_no_dup}) && !f.recusados.empty()) {
        const std::string chave = " (violação da chave " + Texto(f, 0) + ").";
        if (f.chavePrimaria)
            return "O " + banco + " recusou um código que já existe na tabela " + f.tabela + ": " +
                   ColunasEValores(f) + chave;
        return "O " + banco + " recusou um valor duplicado na tabela " + f.tabela + ": " +
               ColunasEValores(f) + (f.recusados.size() == 1 ? " já existe" : " já existem") +
               chave;
    }
    if (Tem(f, {isc_unique_key_violation})) {
        return "O " + banco + " recusou um código que já existe na tabela " + Texto(f, 1) +
               " (violação da chave " + Texto(f, 0) + ": " + Texto(f, 2) + ").";
    }
    if (Tem(f, {isc_no_dup}))
        return "O " + banco + " recusou um valor duplicado (violação da chave " + Texto(f, 0) +
               ": " + Texto(f, 1) + ").";
    if (Tem(f, {isc_primary_key_exists}))
        return "O " + banco + " recusou um código que já existe (violação de chave).";
    if (Tem(f, {isc_dsql_relation_err}))
        return "O " + banco + " não tem a tabela " + Texto(f, 0) + ".";
    if (Tem(f, {isc_dsql_field_err}))
        return "O " + banco + " não tem a coluna " + Texto(f, 0) + ".";
    const std::string naTabela = f.tabela.empty() ? std::string() : " da tabela " + f.tabela;
    if (Tem(f, {isc_string_truncation, isc_trunc_limits}) && !f.recusados.empty()) {
        const std::string& valor = f.recusados[0].valor;
        return "O valor " + ValorMostrado(valor) + " (" + std::to_string(valor.size()) +
               " caracteres) é longo demais para a coluna " + f.recusados[0].coluna + " (" +
               std::to_string(f.comprimentoDeclarado) + " caracteres)" + naTabela + " do " + banco +
               ".";
    }
    if (Tem(f, {isc_string_truncation, isc_trunc_limits}))
        return "Um valor é longo demais para uma coluna" + naTabela + " do " + banco + ".";
    if (Tem(f, {isc_convert_error}) && !f.recusados.empty())
        return "O " + banco + " não conseguiu converter o valor \"" + Texto(f, 0) +
               "\" para o tipo da coluna " + f.recusados[0].coluna + naTabela + ".";
    if (Tem(f, {isc_convert_error}))
        return "O " + banco + " não conseguiu converter o valor \"" + Texto(f, 0) +
               "\" para o tipo da sua coluna" + naTabela + ".";
    return "Erro no " + banco + ".";
}

}  // namespace

std::string Mensagem(const TFalhaBanco& falha) {
    if (falha.papel.empty())
        return falha.textoMotor;
    return Frase(falha) + "\n" + falha.textoMotor;
}

void Lanca(TFalhaBanco falha) {
    std::string msg = Mensagem(falha);
    throw EBancoDados(msg, std::move(falha));
}

bool Truncamento(const TFalhaBanco& falha, long& declarado, long& atual) {
    if (!Tem(falha, {isc_trunc_limits}) || falha.numeros.size() < 2)
        return false;
    // The lengths are the last two numbers: a Dynamic SQL error puts its SQL code before them.
    declarado = falha.numeros[falha.numeros.size() - 2];
    atual = falha.numeros.back();
    return true;
}

std::string ChaveRepetida(const TFalhaBanco& falha, bool& nomeDeIndice) {
    nomeDeIndice = !Tem(falha, {isc_unique_key_violation});
    if (!Tem(falha, {isc_unique_key_violation, isc_no_dup}))
        return {};
    return Texto(falha, 0);
}

std::string ValorNaoConvertido(const TFalhaBanco& falha) {
    return Tem(falha, {isc_convert_error}) ? Texto(falha, 0) : std::string();
}

void LancaNaTabela(const EBancoDados& erro, const std::string& tabela) {
    if (tabela.empty() || !erro.Falha().tabela.empty() || erro.Falha().papel.empty())
        return;
    TFalhaBanco f = erro.Falha();
    f.tabela = tabela;
    Lanca(std::move(f));
}

}  // namespace erros_motor

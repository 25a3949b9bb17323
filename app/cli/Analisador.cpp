#include "app/cli/Analisador.h"

#include "app/cli/Versao.h"
#include "schema/amostra/GeradorAmostra.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace cli {

namespace {

// The usage lines that follow a usage error, as the command line has always printed them.
const char* const kUsoGeral =
    "uso: conversor                      abre a janela\n"
    "     conversor run --kind products|clients|suppliers --target ALMURO --source TESSALY\n"
    "                   --workbook ARQUIVO [--sheet N|NOME] [--last-row N] [--dry-run]\n"
    "                   [--report ARQUIVO.xlsx]\n"
    "     conversor check --kind products|clients|suppliers --target ALMURO --source TESSALY\n"
    "                     --workbook ARQUIVO [--sheet N|NOME] [--last-row N]\n"
    "                     [--report ARQUIVO.xlsx]\n"
    "     conversor sheets ARQUIVO\n"
    "     conversor preview ARQUIVO [--sheet N|NOME] [--last-row N]\n"
    "     conversor sample PASTA [--rows N] [--seed S]\n"
    "     conversor --help | --version\n";

std::string UsoDo(const std::string& comando) {
    if (comando == "run")
        return "uso: conversor run --kind products|clients|suppliers --target ALMURO --source "
               "TESSALY\n"
               "                   --workbook ARQUIVO [--sheet N|NOME] [--last-row N] "
               "[--dry-run]\n"
               "                   [--report ARQUIVO.xlsx]\n";
    if (comando == "check")
        return "uso: conversor check --kind products|clients|suppliers --target ALMURO --source "
               "TESSALY\n"
               "                     --workbook ARQUIVO [--sheet N|NOME] [--last-row N]\n"
               "                     [--report ARQUIVO.xlsx]\n";
    if (comando == "sheets")
        return "uso: conversor sheets ARQUIVO\n";
    if (comando == "preview")
        return "uso: conversor preview ARQUIVO [--sheet N|NOME] [--last-row N]\n";
    if (comando == "sample")
        return "uso: conversor sample PASTA [--rows N] [--seed S]\n";
    return kUsoGeral;
}

const char* const kCodigosDeSaida =
    "Saída: 0 concluído; 1 a conversão falhou e foi desfeita, ou uma entrada não pôde ser lida;\n"
    "2 erro de uso ou aviso de entrada (a mensagem diz qual);\n"
    "130 interrompida por SIGINT (Ctrl+C), 143 por SIGTERM ou SIGHUP: desfeita, nada gravado.\n";

const char* const kCodigosDaConferencia =
    "Saída: 0 nenhum problema; 1 há problemas, ou a conferência não pôde seguir (o erro como\n"
    "run o mostra); 2 erro de uso ou aviso de entrada; 130 interrompida por SIGINT (Ctrl+C),\n"
    "143 por SIGTERM ou SIGHUP. Nada é gravado.\n";

void Traduz(CLI::App& app) {
    auto f = app.get_formatter();
    f->label("Usage", "Uso");
    f->label("OPTIONS", "OPÇÕES");
    f->label("SUBCOMMAND", "COMANDO");
    f->label("SUBCOMMANDS", "COMANDOS");
    f->label("Positionals", "Argumentos");
    f->label("REQUIRED", "");
    f->column_width(28);
    app.option_defaults()->group("Opções");
    app.set_help_flag("-h,--help", "mostra esta ajuda e sai");
    // Whatever the operator typed that is not in the grammar is examined after parsing, so the
    // message can name it.
    app.allow_extras();
}

CLI::App* Subcomando(CLI::App& app, const std::string& nome, const std::string& descricao,
                     const std::string& rodape) {
    CLI::App* sub = app.add_subcommand(nome, descricao);
    sub->group("Comandos");
    sub->footer(rodape);
    Traduz(*sub);
    return sub;
}

void Valor(CLI::App* sub, const std::string& nome, const std::string& tipo,
           const std::string& descricao) {
    sub->add_option(nome)->description(descricao)->type_name(tipo);
}

// The options run and check share: the inputs of a conversion and the report.
void OpcoesDaConversao(CLI::App* sub, bool grava) {
    Valor(sub, "--kind", "products|clients|suppliers",
          "o que converter: produtos, clientes ou fornecedores (obrigatória)");
    Valor(sub, "--target", "ALMURO",
          grava ? "banco de destino, esvaziado e preenchido (obrigatória)"
                : "banco de destino, conferido sem gravar nada (obrigatória)");
    Valor(sub, "--source", "TESSALY", "banco de origem, só lido (obrigatória)");
    Valor(sub, "--workbook", "ARQUIVO",
          "planilha KORVANE .xlsx, .xls ou .csv (sem ela, o aviso da janela e a saída 2)");
    Valor(sub, "--sheet", "N|NOME", "planilha da pasta: número a partir de 1 ou nome (padrão: 1)");
    Valor(sub, "--last-row", "N",
          "linha do último registro (padrão: a última linha usada da planilha)");
    Valor(sub, "--report", "ARQUIVO.xlsx",
          "grava também um relatório: resumo, problemas, não convertidos e avisos");
}

class TGramatica {
  public:
    TGramatica() {
        app_.footer(std::string("Sem argumentos, o programa abre a janela.\n"
                                "Ajuda de um comando: conversor COMANDO --help\n") +
                    kCodigosDeSaida);
        Traduz(app_);
        app_.set_version_flag("--version", TextoVersao,
                              "mostra a versão do programa e da biblioteca cliente do Firebird");
        app_.require_subcommand(0, 1);

        CLI::App* run = Subcomando(
            app_, "run", "converte um tipo de cadastro das duas origens para o banco ALMURO",
            std::string("Os bancos são caminhos de arquivo (motor embutido) ou host:/caminho (um "
                        "servidor Firebird).\n"
                        "Exemplo:\n"
                        "  conversor run --kind products --target demo/almuro.fdb \\\n"
                        "      --source demo/tessaly.fdb --workbook demo/produtos.xlsx "
                        "--sheet 1\n") +
                kCodigosDeSaida);
        OpcoesDaConversao(run, true);
        run->add_flag("--dry-run", simulacao_,
                      "faz a conversão inteira e a desfaz no fim: nada é gravado (padrão: grava)");

        CLI::App* check = Subcomando(
            app_, "check",
            "confere uma conversão inteira e lista todos os problemas de uma vez, sem gravar",
            std::string("Faz a conversão como run, registro a registro, e a desfaz no fim; um "
                        "registro que falha é\n"
                        "desfeito e listado, e a conferência segue com o próximo. Na saída, uma "
                        "linha por problema\n"
                        "(o lugar e o texto com que run pararia), o resumo e a linha final.\n"
                        "Exemplo:\n"
                        "  conversor check --kind products --target demo/almuro.fdb \\\n"
                        "      --source demo/tessaly.fdb --workbook demo/produtos.xlsx "
                        "--report conferencia.xlsx\n") +
                kCodigosDaConferencia);
        OpcoesDaConversao(check, false);

        CLI::App* sheets = Subcomando(
            app_, "sheets", "lista as planilhas de uma pasta de trabalho",
            "Uma linha por planilha: número TAB nome TAB última linha TAB última coluna.\n"
            "Exemplo:\n"
            "  conversor sheets demo/cadastros.xlsx\n");
        sheets->add_option("ARQUIVO")
            ->required()
            ->description("pasta de trabalho .xlsx, .xls ou .csv (obrigatório)")
            ->type_name("");

        CLI::App* preview = Subcomando(
            app_, "preview", "mostra, como TSV, as linhas que uma conversão leria da planilha",
            "Colunas 1 até a última usada; \\ TAB LF CR escritos \\\\ \\t \\n \\r.\n"
            "Exemplo:\n"
            "  conversor preview demo/produtos.xlsx --sheet 1 --last-row 10\n");
        preview->add_option("ARQUIVO")
            ->required()
            ->description("pasta de trabalho .xlsx, .xls ou .csv (obrigatório)")
            ->type_name("");
        Valor(preview, "--sheet", "N|NOME",
              "planilha da pasta: número a partir de 1 ou nome (padrão: 1)");
        Valor(preview, "--last-row", "N",
              "linha do último registro (padrão: a última linha usada da planilha)");

        CLI::App* sample = Subcomando(
            app_, "sample", "cria um cliente de exemplo: bancos ALMURO e TESSALY e duas planilhas",
            "Cria em PASTA almuro.fdb (destino vazio), tessaly.fdb (origem com N linhas em\n"
            "ESTOQUE, CLIENTE e FORNECEDOR), produtos.xlsx e cadastros.xlsx (N linhas cada).\n"
            "Exemplo:\n"
            "  conversor sample demo --rows 300 --seed 7\n");
        sample->add_option("PASTA")
            ->required()
            ->description("pasta onde criar os arquivos (obrigatória)")
            ->type_name("");
        Valor(sample, "--rows", "N",
              "linhas de cada tabela e planilha, de 0 a " +
                  std::to_string(TGeradorAmostra::kMaximoLinhas) + " (padrão: 200)");
        Valor(sample, "--seed", "S",
              "semente dos dados; a mesma semente gera os mesmos dados "
              "(padrão: 1)");
    }

    TComandoLido Analisa(int argc, char** argv) {
        TComandoLido lido;
        try {
            app_.parse(argc, argv);
        } catch (const CLI::CallForHelp&) {
            std::cout << app_.help();
            return lido;
        } catch (const CLI::CallForVersion& e) {
            std::cout << e.what() << "\n";
            return lido;
        } catch (const CLI::ParseError& e) {
            return ErroDeUso(MensagemDoErro(e));
        }
        const std::vector<CLI::App*> subs = app_.get_subcommands();
        if (subs.empty()) {
            const std::vector<std::string> resto = app_.remaining();
            if (resto.empty()) {
                std::cerr << kUsoGeral;
                lido.codigo = 2;
                return lido;
            }
            if (resto[0].rfind("-", 0) == 0)
                return ErroDeUso("opção desconhecida: " + resto[0]);
            return ErroDeUso("comando desconhecido: " + resto[0]);
        }
        CLI::App* sub = subs[0];
        const std::vector<std::string> resto = sub->remaining();
        if (!resto.empty()) {
            if (resto[0].rfind("-", 0) == 0 && resto[0].size() > 1)
                return ErroDeUso("opção desconhecida: " + resto[0], sub);
            return ErroDeUso("argumento inesperado: " + resto[0], sub);
        }
        lido.comando = sub->get_name();
        for (const CLI::Option* opcao : sub->get_options()) {
            if (opcao->count() == 0 || opcao->get_type_size() == 0)
                continue;
            if (opcao->get_positional())
                lido.opcoes.AcrescentaPosicional(opcao->results().front());
            else
                lido.opcoes.Define(opcao->get_single_name(), opcao->results().front());
        }
        lido.opcoes.simulacao = simulacao_;
        return lido;
    }

  private:
    // CLI11 names the option at the head of its message ("--kind: 1 required ... missing").
    std::string MensagemDoErro(const CLI::ParseError& e) const {
        const std::string texto = e.what();
        const std::string nome = texto.substr(0, texto.find(':'));
        if (e.get_name() == "RequiredError")
            return "falta " + texto.substr(0, texto.find(' '));
        if (e.get_name() == "ArgumentMismatch") {
            if (texto.find("At Most") != std::string::npos)
                return "opção repetida: " + nome;
            return "a opção " + nome + " precisa de um valor";
        }
        return texto;
    }

    TComandoLido ErroDeUso(const std::string& motivo, const CLI::App* sub = nullptr) {
        if (!sub && !app_.get_subcommands().empty())
            sub = app_.get_subcommands()[0];
        const std::string nome = sub ? "conversor " + sub->get_name() : "conversor";
        std::cerr << nome << ": " << motivo << "\n"
                  << UsoDo(sub ? sub->get_name() : "") << "Veja as opções em: " << nome
                  << " --help\n";
        TComandoLido lido;
        lido.codigo = 2;
        return lido;
    }

    CLI::App app_{
        "Conversor Korvane + Tessaly: leva produtos, clientes e fornecedores de uma "
        "planilha KORVANE e do banco TESSALY para o banco ALMURO.",
        "conversor"};
    bool simulacao_ = false;
};

}  // namespace

TComandoLido Analisa(int argc, char** argv) {
    // Owned by a unique_ptr: CLI::App is large and the options keep pointers into it.
    auto gramatica = std::make_unique<TGramatica>();
    return gramatica->Analisa(argc, argv);
}

}  // namespace cli

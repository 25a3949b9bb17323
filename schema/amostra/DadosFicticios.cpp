#include "schema/amostra/DadosFicticios.h"

#include "common/Win1252.h"

#include <cstdio>

namespace {

const char* const kPrimeirosNomes[] = {
    "João",   "José",      "Maria",    "Ana",       "Antônio",   "Francisco", "Luiz",
    "Carlos", "Paulo",     "Pedro",    "Lucas",     "Luíza",     "Márcia",    "Cláudia",
    "Fábio",  "Sebastião", "Raimundo", "Conceição", "Aparecida", "Rosângela", "Valéria",
    "Sérgio", "Rogério",   "Mônica",   "Juliana",   "Tânia",     "Geraldo",   "Glória",
    "Inês",   "Débora",    "Vânia",    "Íris",      "Júlio",     "Célia",     "Zélia"};

const char* const kSobrenomes[] = {
    "Silva",       "Santos",    "Oliveira", "Souza",     "Pereira",    "Lima",
    "Carvalho",    "Gonçalves", "Araújo",   "Ribeiro",   "Rodrigues",  "Almeida",
    "Magalhães",   "Conceição", "Assunção", "D'Ávila",   "D'Angelo",   "Fonseca",
    "Guimarães",   "Brandão",   "Simões",   "Lopes",     "Figueiredo", "Drummond",
    "Vasconcelos", "Amaral",    "Nogueira", "Sant'Anna", "Câmara",     "Aragão"};

const char* const kRamos[] = {"Comércio de Alimentos",
                              "Distribuidora de Bebidas",
                              "Materiais de Construção",
                              "Auto Peças",
                              "Farmácia",
                              "Supermercado",
                              "Padaria e Confeitaria",
                              "Açougue",
                              "Papelaria",
                              "Drogaria",
                              "Restaurante",
                              "Lanchonete",
                              "Mercearia",
                              "Armazém",
                              "Ferragens",
                              "Hortifrúti",
                              "Laticínios",
                              "Transportes"};

const char* const kFantasias[] = {"Bom Preço",      "São Jorge",
                                  "Pão Quente",     "Boa Vista",
                                  "Estrela",        "Primavera",
                                  "Progresso",      "Central",
                                  "Santa Rita",     "Irmãos Unidos",
                                  "Dois Irmãos",    "Pé de Serra",
                                  "Sabor de Minas", "Nossa Senhora Aparecida",
                                  "Ouro Preto"};

const char* const kFormas[] = {"Ltda", "Ltda.", "LTDA", "Ltda - ME", "ME", "S/A", "Eireli", "EPP"};

const TCidadeAmostra kCidades[] = {{"Belo Horizonte", "MG"},
                                   {"Belo Horizonte", "MG"},
                                   {"Belo Horizonte", "MG"},
                                   {"BELO HORIZONTE", "MG"},
                                   {"belo horizonte", "mg"},
                                   {"BHTE", "MG"},
                                   {"BHTE", "MG"},
                                   {"Contagem", "MG"},
                                   {"contagem", "MG"},
                                   {"Betim", "MG"},
                                   {"Nova Lima", "MG"},
                                   {"Sete Lagoas", "MG"},
                                   {"Divinópolis", "MG"},
                                   {"DIVINÓPOLIS", "MG"},
                                   {"Uberlândia", "MG"},
                                   {"Juiz de Fora", "MG"},
                                   {"Montes Claros", "MG"},
                                   {"Ipatinga", "MG"},
                                   {"Governador Valadares", "MG"},
                                   {"Pará de Minas", "MG"},
                                   {"São João del-Rei", "MG"},
                                   {"Conselheiro Lafaiete", "MG"},
                                   {"Santa Luzia", "MG"},
                                   {"Ribeirão das Neves", "MG"},
                                   {"Poços de Caldas", "MG"},
                                   {"São José do Vale do Rio Preto", "RJ"},
                                   {"Vila Bela da Santíssima Trindade", "MT"},
                                   {"Santa Bárbara d'Oeste", "SP"},
                                   {"São Paulo", "SP"},
                                   {"sao paulo", "sp"},
                                   {"Campinas", "SP"},
                                   {"Rio de Janeiro", "RJ"},
                                   {"Vitória", "ES"},
                                   {"Goiânia", "GO"},
                                   {"Brasília", "DF"},
                                   {"Salvador", "BA"},
                                   {"Curitiba", "PR"},
                                   {"Porto Alegre", "RS"},
                                   {"Florianópolis", "SC"},
                                   {"Recife", "PE"},
                                   {"belém", "pa"}};

const char* const kBairros[] = {"Centro",
                                "Savassi",
                                "Funcionários",
                                "Lourdes",
                                "Barro Preto",
                                "Santa Efigênia",
                                "Floresta",
                                "Sagrada Família",
                                "Cidade Nova",
                                "Pampulha",
                                "Venda Nova",
                                "Barreiro",
                                "Eldorado",
                                "Industrial",
                                "Jardim América",
                                "Padre Eustáquio",
                                "Caiçara",
                                "São Bento",
                                "Buritis",
                                "Castelo",
                                "Conj. Hab. Jardim São José",
                                "Vila São João Batista da Conceição"};

const char* const kLogradouros[] = {"Rua da Bahia",
                                    "Av. Afonso Pena",
                                    "Avenida Amazonas",
                                    "Rua dos Goitacazes",
                                    "Rua Espírito Santo",
                                    "Av. do Contorno",
                                    "Rua Padre Eustáquio",
                                    "Rua São Paulo",
                                    "Rua Tupis",
                                    "Av. Cristiano Machado",
                                    "Rua Rio Grande do Norte",
                                    "Av. Presidente Antônio Carlos",
                                    "Rod. BR-040 Km 688",
                                    "Travessa D'Ajuda",
                                    "Rua Sete de Setembro",
                                    "Alameda das Acácias",
                                    "Praça Sete de Setembro",
                                    "R. Guajajaras",
                                    "Rua Professor Morais",
                                    "Av. João César de Oliveira"};

const char* const kComplementos[] = {"Sala 101", "Loja 2",
                                     "Apto 302", "Galpão 3",
                                     "Fundos",   "Bloco B - Sala 1204",
                                     "2º andar", "Box 14 - Mercado Central"};

const char* const kMarcas[] = {"Serra Azul",  "Boa Safra", "Vale do Sol", "Mineirinho",
                               "Santa Clara", "Ouro Fino", "Bela Vista",  "Sabor de Minas",
                               "Da Roça",     "Tropeiro",  "Canastra",    "Dona Zica"};

struct TBaseItem {
    const char* nome;
    const char* unidade;
    const char* ncm;
    long minimo;  // cents
    long maximo;
    const char* grupo;
};

const TBaseItem kItens[] = {
    {"Arroz Agulhinha Tipo 1 5kg", "PC", "10063021", 1590, 2990, "Mercearia"},
    {"Feijão Carioca Tipo 1 1kg", "PC", "07133319", 590, 1190, "Mercearia"},
    {"Açúcar Cristal 2kg", "PC", "17019900", 490, 899, "Mercearia"},
    {"Café Torrado e Moído 500g", "PC", "09012100", 890, 2290, "Mercearia"},
    {"Óleo de Soja 900ml", "UN", "15079011", 549, 999, "Mercearia"},
    {"Macarrão Espaguete 500g", "PC", "19021900", 299, 699, "Mercearia"},
    {"Leite Longa Vida Integral 1L", "CX", "04012010", 399, 649, "Laticínios"},
    {"Queijo Minas Frescal", "KG", "04061010", 2490, 4990, "Laticínios"},
    {"Requeijão Cremoso 200g", "UN", "04069090", 549, 999, "Laticínios"},
    {"Doce de Leite Pastoso 400g", "UN", "19019020", 690, 1490, "Laticínios"},
    {"Pão de Queijo Congelado 1kg", "PC", "19012000", 1290, 2490, "Congelados"},
    {"Linguiça Toscana", "KG", "16010000", 1590, 2990, "Açougue"},
    {"Carne Moída de 1ª", "KG", "02013000", 2990, 4990, "Açougue"},
    {"Sabão em Pó 1kg", "CX", "34022000", 890, 1890, "Limpeza"},
    {"Detergente Líquido 500ml", "UN", "34022000", 199, 449, "Limpeza"},
    {"Água Sanitária 2L", "UN", "28289011", 399, 799, "Limpeza"},
    {"Papel Higiênico Folha Dupla c/ 12", "FD", "48181000", 1290, 2490, "Higiene"},
    {"Creme Dental 90g", "UN", "33061000", 249, 699, "Higiene"},
    {"Biscoito Cream Cracker 400g", "PC", "19053100", 399, 799, "Mercearia"},
    {"Farinha de Mandioca Torrada 1kg", "PC", "11062000", 549, 999, "Mercearia"},
    {"Refrigerante Guaraná 2L", "UN", "22021000", 549, 999, "Bebidas"},
    {"Cerveja Pilsen Lata 350ml", "UN", "22030000", 299, 599, "Bebidas"},
    {"Cachaça Artesanal 700ml", "UN", "22084000", 2490, 8990, "Bebidas"},
    {"Água Mineral s/ Gás 500ml", "UN", "22011000", 150, 350, "Bebidas"},
    {"Parafuso Sextavado 1/4\" x 2\"", "UN", "73181500", 35, 120, "Ferragens"},
    {"Chave de Fenda 3/16\" x 6\"", "UN", "82054000", 890, 2490, "Ferragens"},
    {"Prego 17x27 c/ Cabeça", "KG", "73170090", 1190, 1990, "Ferragens"},
    {"Cimento CP-II 50kg", "SC", "25232910", 2990, 4290, "Construção"},
    {"Tinta Acrílica Fosca Branco Neve 18L", "LT", "32091010", 18990, 39990, "Construção"},
    {"Fio Flexível 2,5mm² Rolo 100m", "RL", "85444900", 15990, 29990, "Elétrica"},
    {"Lâmpada LED 9W Bivolt", "UN", "85395000", 590, 1590, "Elétrica"},
    {"Copo Americano 190ml \"Nadir\"", "CX", "70133700", 2490, 4990, "Utilidades"},
    {"Biscoito de Polvilho D'Ávila 100g", "PC", "19059090", 299, 599, "Mercearia"},
    {"Pilha Alcalina AA c/ 2", "CT", "85061010", 690, 1490, "Elétrica"},
    {"Vela Branca nº 7 c/ 8", "PC", "34060000", 399, 899, "Utilidades"},
    {"Fósforo Longo c/ 10 Caixas", "PC", "36050000", 299, 699, "Utilidades"},
    {"Serviço de Entrega", "UN", "", 500, 2000, "Serviços"}};

const char* const kVariantes[] = {"",          "",         "",       " Tradicional", " Light",
                                  " Integral", " Premium", " Extra", " Econômico",   " Promoção"};

}  // namespace

std::string TDadosFicticios::Digitos(int n) {
    std::string d;
    for (int i = 0; i < n; ++i)
        d += static_cast<char>('0' + s_.Entre(0, 9));
    return d;
}

std::string TDadosFicticios::NomePessoa() {
    std::string nome = s_.Um(kPrimeirosNomes);
    if (s_.Chance(25))
        nome += std::string(" ") + s_.Um(kPrimeirosNomes);
    int sobrenomes = static_cast<int>(s_.Entre(1, 3));
    for (int i = 0; i < sobrenomes; ++i) {
        if (s_.Chance(20))
            nome += s_.Chance(50) ? " da" : " dos";
        nome += std::string(" ") + s_.Um(kSobrenomes);
    }
    if (s_.Chance(15)) {
        // Older records were typed in capitals; the accents stay as they were typed.
        for (char& c : nome)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
    }
    return nome;
}

std::string TDadosFicticios::RazaoSocial() {
    switch (s_.Entre(0, 7)) {
        case 0:
            return std::string(s_.Um(kSobrenomes)) + " & " + s_.Um(kSobrenomes) + " " +
                   s_.Um(kFormas);
        case 1:
            return std::string(s_.Um(kSobrenomes)) + " Comércio e Representações " + s_.Um(kFormas);
        case 2:
            return std::string(s_.Um(kRamos)) + " " + s_.Um(kFantasias) + " " + s_.Um(kFormas);
        case 3:
            return s_.Chance(50) ? "Bar \"do Zé\"" : "Lanchonete \"Cantinho da Tia\" Ltda";
        case 4:
            return "Comércio Atacadista de Gêneros Alimentícios e Produtos de Limpeza " +
                   std::string(s_.Um(kFantasias)) + " Ltda";
        case 5:
            return NomePessoa() + " - ME";
        default:
            return std::string(s_.Um(kRamos)) + " " + s_.Um(kSobrenomes) + " " + s_.Um(kFormas);
    }
}

std::string TDadosFicticios::NomeFantasia() {
    std::string f = s_.Um(kFantasias);
    if (s_.Chance(40))
        f = std::string(s_.Um(kRamos)) + " " + f;
    return f;
}

std::string TDadosFicticios::Contato() {
    std::string c = s_.Um(kPrimeirosNomes);
    if (s_.Chance(40))
        c += std::string(" ") + s_.Um(kSobrenomes);
    if (s_.Chance(15))
        c += s_.Chance(50) ? " (gerente)" : " - compras";
    return c;
}

TCidadeAmostra TDadosFicticios::Cidade() {
    return s_.Um(kCidades);
}

std::string TDadosFicticios::Bairro() {
    return s_.Um(kBairros);
}

std::string TDadosFicticios::Logradouro() {
    return s_.Um(kLogradouros);
}

std::string TDadosFicticios::Numero() {
    switch (s_.Entre(0, 9)) {
        case 0:
            return "S/N";
        case 1:
            return "s/n";
        case 2:
            return std::to_string(s_.Entre(1, 99)) + "-A";
        case 3:
            return "2.300";
        default:
            return std::to_string(s_.Entre(1, 3999));
    }
}

std::string TDadosFicticios::Complemento() {
    return s_.Um(kComplementos);
}

std::string TDadosFicticios::Cep() {
    std::string d = Digitos(3);
    std::string cep = std::to_string(s_.Entre(30, 39)) + d + Digitos(3);  // mostly Minas
    switch (s_.Entre(0, 5)) {
        case 0:
            return cep;
        case 1:
            return cep.substr(0, 2) + "." + cep.substr(2, 3) + "-" + cep.substr(5);
        case 2:
            return cep.substr(0, 5) + " " + cep.substr(5);
        default:
            return cep.substr(0, 5) + "-" + cep.substr(5);
    }
}

std::string CompletaCpf(const std::string& d) {
    std::string n = d;
    for (int passo = 0; passo < 2; ++passo) {
        int soma = 0;
        int peso = static_cast<int>(n.size()) + 1;
        for (char c : n)
            soma += (c - '0') * peso--;
        int resto = (soma * 10) % 11;
        n += static_cast<char>('0' + (resto == 10 ? 0 : resto));
    }
    return n;
}

std::string CompletaCnpj(const std::string& d) {
    std::string n = d;
    for (int passo = 0; passo < 2; ++passo) {
        int soma = 0;
        int peso = static_cast<int>(n.size()) - 7;
        for (char c : n) {
            soma += (c - '0') * peso;
            peso = peso == 2 ? 9 : peso - 1;
        }
        int resto = soma % 11;
        n += static_cast<char>('0' + (resto < 2 ? 0 : 11 - resto));
    }
    return n;
}

std::string TDadosFicticios::Cpf() {
    std::string n = CompletaCpf(Digitos(9));
    switch (s_.Entre(0, 9)) {
        case 0:
        case 1:
        case 2:
            return n;
        case 3:
            return n.substr(0, 9) + "-" + n.substr(9);
        default:
            return n.substr(0, 3) + "." + n.substr(3, 3) + "." + n.substr(6, 3) + "-" + n.substr(9);
    }
}

std::string TDadosFicticios::Cnpj() {
    std::string n = CompletaCnpj(Digitos(8) + (s_.Chance(85) ? "0001" : "0002"));
    switch (s_.Entre(0, 9)) {
        case 0:
        case 1:
        case 2:
            return n;
        case 3:
            return n.substr(0, 8) + "/" + n.substr(8, 4) + "-" + n.substr(12);
        default:
            return n.substr(0, 2) + "." + n.substr(2, 3) + "." + n.substr(5, 3) + "/" +
                   n.substr(8, 4) + "-" + n.substr(12);
    }
}

std::string TDadosFicticios::InscricaoEstadual() {
    switch (s_.Entre(0, 9)) {
        case 0:
            return "ISENTO";
        case 1:
            return "isento";
        case 2:
            return "Isento";
        case 3:
            return Digitos(13);
        default: {
            std::string d = Digitos(13);  // Minas Gerais: 062.307.904/0081
            return d.substr(0, 3) + "." + d.substr(3, 3) + "." + d.substr(6, 3) + "/" + d.substr(9);
        }
    }
}

std::string TDadosFicticios::Telefone() {
    std::string prefixo = std::to_string(s_.Entre(2, 3)) + Digitos(3);
    std::string sufixo = Digitos(4);
    switch (s_.Entre(0, 7)) {
        case 0:
            return prefixo + "-" + sufixo;
        case 1:
            return "031 " + prefixo + " " + sufixo;
        case 2:
            return "9" + Digitos(3) + "-" + Digitos(5);
        case 3:
            return "31" + prefixo + sufixo;
        case 4:
            return "(31)" + prefixo + "-" + sufixo;
        default:
            return "(" + std::to_string(s_.Chance(80) ? 31 : s_.Entre(11, 99)) + ") " + prefixo +
                   "-" + sufixo;
    }
}

std::string TDadosFicticios::Celular() {
    std::string n = "9" + Digitos(4);
    std::string fim = Digitos(4);
    switch (s_.Entre(0, 3)) {
        case 0:
            return "(31) " + n + "-" + fim;
        case 1:
            return n.substr(0, 1) + " " + n.substr(1) + "-" + fim;
        case 2:
            return "31" + n + fim;
        default:
            return n + "-" + fim;
    }
}

std::string SemAcentos(const std::string& utf8) {
    // Windows-1252 puts the accented letters in one block, which makes the folding a lookup.
    static const char kDobra[] = "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo-ouuuuyty";
    std::string r;
    for (unsigned char c : win1252::DeUtf8(utf8)) {
        char a = c >= 0xC0 ? kDobra[c - 0xC0] : static_cast<char>(c);
        if (a >= 'A' && a <= 'Z')
            a = static_cast<char>(a - 'A' + 'a');
        if ((a >= 'a' && a <= 'z') || (a >= '0' && a <= '9'))
            r += a;
    }
    return r;
}

std::string TDadosFicticios::Email(const std::string& nome) {
    std::string primeiro = nome.substr(0, nome.find(' '));
    std::string usuario = SemAcentos(primeiro);
    if (usuario.empty())
        usuario = "contato";
    if (s_.Chance(50))
        usuario += std::to_string(s_.Entre(1, 999));
    const char* const dominios[] = {"@gmail.com",  "@yahoo.com.br", "@hotmail.com",
                                    "@uol.com.br", "@terra.com.br", "@bol.com.br"};
    std::string email = usuario + s_.Um(dominios);
    if (s_.Chance(5))
        email = " " + email + " ";
    if (s_.Chance(5)) {
        for (char& c : email)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
    }
    return email;
}

std::string TDadosFicticios::DataNascimento() {
    char texto[16];
    std::snprintf(texto, sizeof texto, "%04ld-%02ld-%02ld", s_.Entre(1938, 2004), s_.Entre(1, 12),
                  s_.Entre(1, 28));
    return texto;
}

TItemAmostra TDadosFicticios::Item() {
    const TBaseItem& base = s_.Um(kItens);
    TItemAmostra item;
    item.descricao = base.nome;
    if (s_.Chance(60))
        item.descricao += std::string(" ") + s_.Um(kMarcas);
    item.descricao += s_.Um(kVariantes);
    if (s_.Chance(4)) {
        item.descricao += " - embalagem com tampa abre-fácil e lacre de segurança";
    }
    if (s_.Chance(10)) {
        for (char& c : item.descricao)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
    }
    item.unidade = base.unidade;
    item.grupo = base.grupo;
    item.centavos = s_.Entre(base.minimo, base.maximo);
    std::string ncm = base.ncm;
    if (!ncm.empty()) {
        long forma = s_.Entre(0, 24);
        if (forma == 0) {
            ncm = ncm.substr(0, 4) + "." + ncm.substr(4, 2) + "." + ncm.substr(6);
        } else if (forma == 1) {
            ncm += "00";
        } else if (forma == 2) {
            ncm = "";
        } else if (forma == 3) {
            ncm = "  ";
        }
    }
    item.ncm = ncm;
    return item;
}

std::string TDadosFicticios::CodigoBarras() {
    if (s_.Chance(5))
        return "2" + Digitos(6);  // the shop's own label
    std::string d = "789" + Digitos(9);
    int soma = 0;
    for (size_t i = 0; i < d.size(); ++i)
        soma += (d[i] - '0') * (i % 2 ? 3 : 1);
    d += static_cast<char>('0' + (10 - soma % 10) % 10);
    return d;
}

std::string TDadosFicticios::Unidade(const std::string& tipica) {
    switch (s_.Entre(0, 19)) {
        case 0: {
            std::string u = tipica;
            for (char& c : u)
                if (c >= 'A' && c <= 'Z')
                    c = static_cast<char>(c - 'A' + 'a');
            return u;
        }
        case 1:
            return tipica == "KG" ? "Quilo" : "Unidade";
        case 2:
            return "PACOTE";
        case 3:
            return "Cx";
        default:
            return tipica;
    }
}

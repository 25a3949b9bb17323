#include "conversion/MemoriaTransacao.h"

#include "conversion/BancoFirebird.h"

std::string TMemoriaTransacao::Chave(const char* busca, const std::string& a,
                                     const std::string& b) {
    std::string chave = busca;
    chave += '\x1f';
    chave += a;
    chave += '\x1f';
    chave += b;
    return chave;
}

// What belonged to an ended transaction is dropped before anything is read or kept.
void TMemoriaTransacao::Confere() {
    const unsigned long atual = transacao_.Ativa() ? transacao_.Geracao() : 0;
    if (atual != geracao_ || atual == 0) {
        valores_.clear();
        desdeAMarca_.clear();
        geracao_ = atual;
    }
}

const std::string* TMemoriaTransacao::Busca(const std::string& chave) {
    Confere();
    auto it = valores_.find(chave);
    return it == valores_.end() ? nullptr : &it->second;
}

void TMemoriaTransacao::Guarda(const std::string& chave, const std::string& valor) {
    Confere();
    if (geracao_ == 0)
        return;
    if (marcada_) {
        auto it = valores_.find(chave);
        desdeAMarca_.emplace_back(chave,
                                  it == valores_.end() ? std::nullopt : std::optional(it->second));
    }
    valores_[chave] = valor;
}

void TMemoriaTransacao::Marca() {
    marcada_ = true;
    desdeAMarca_.clear();
}

void TMemoriaTransacao::VoltaAMarca() {
    for (auto it = desdeAMarca_.rbegin(); it != desdeAMarca_.rend(); ++it) {
        if (it->second)
            valores_[it->first] = *it->second;
        else
            valores_.erase(it->first);
    }
    desdeAMarca_.clear();
}

void TMemoriaTransacao::Desmarca() {
    marcada_ = false;
    desdeAMarca_.clear();
}

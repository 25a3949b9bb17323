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
    if (geracao_ != 0)
        valores_[chave] = valor;
}

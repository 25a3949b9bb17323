#include "conversion/CacheComandos.h"

#include "conversion/Firebird.h"

using namespace Firebird;

TCacheComandos::~TCacheComandos() {
    Libera();
}

IStatement* TCacheComandos::Prepara(IAttachment* att, ITransaction* tra, const std::string& sql,
                                    int dialeto) {
    auto achado = indice_.find(sql);
    if (achado != indice_.end()) {
        itens_.splice(itens_.begin(), itens_, achado->second);
        return achado->second->statement;
    }
    fb::Status st;
    IStatement* s = att->prepare(&st, tra, 0, sql.c_str(), static_cast<unsigned>(dialeto),
                                 IStatement::PREPARE_PREFETCH_METADATA);
    st.Verifica();
    if (itens_.size() >= limite_ && !itens_.empty()) {
        fb::LiberaComando(itens_.back().statement);
        indice_.erase(itens_.back().sql);
        itens_.pop_back();
    }
    itens_.push_front({sql, s});
    indice_[sql] = itens_.begin();
    return s;
}

void TCacheComandos::Libera() {
    for (auto& item : itens_)
        fb::LiberaComando(item.statement);
    itens_.clear();
    indice_.clear();
}

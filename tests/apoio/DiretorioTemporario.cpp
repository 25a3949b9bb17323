#include "tests/apoio/DiretorioTemporario.h"

#include <cstdlib>
#include <stdexcept>

TDiretorioTemporario::TDiretorioTemporario() {
    std::string modelo = (std::filesystem::temp_directory_path() / "conversor-XXXXXX").string();
    if (!mkdtemp(modelo.data()))
        throw std::runtime_error("mkdtemp falhou");
    caminho_ = modelo;
}

TDiretorioTemporario::~TDiretorioTemporario() {
    std::error_code ec;
    std::filesystem::remove_all(caminho_, ec);
}

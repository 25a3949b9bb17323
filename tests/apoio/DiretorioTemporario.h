// A fresh directory under the system's temp folder, removed with everything in it at the end.
#pragma once

#include <filesystem>
#include <string>

class TDiretorioTemporario {
  public:
    TDiretorioTemporario();
    ~TDiretorioTemporario();
    TDiretorioTemporario(const TDiretorioTemporario&) = delete;
    TDiretorioTemporario& operator=(const TDiretorioTemporario&) = delete;

    const std::filesystem::path& Caminho() const { return caminho_; }
    std::string Arquivo(const std::string& nome) const { return (caminho_ / nome).string(); }

  private:
    std::filesystem::path caminho_;
};

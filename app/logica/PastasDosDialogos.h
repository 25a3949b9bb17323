// Where each file dialog of the window opens: in the folder of the file last chosen in its own
// box, else in the folder of the file last chosen in any box, else where the dialog likes.
#pragma once

#include <array>
#include <string>

enum class TCaixaArquivo { Planilha, Almuro, Tessaly, Relatorio };

class TPastasDosDialogos {
  public:
    // Empty when no file was chosen yet.
    std::string PastaPara(TCaixaArquivo caixa) const;
    void Escolhido(TCaixaArquivo caixa, const std::string& arquivo);

  private:
    std::array<std::string, 4> porCaixa_;
    std::string ultima_;
};

// What a run of one kind needs of its two databases, checked before its first statement that
// writes: the statements of its writers and lookups on the target, of its source queries on
// the source.
#pragma once

#include "app/logica/LogicaPrincipal.h"

void VerificaBancosDaConversao(TTipoConversao tipo, TBancoFirebird& almuro,
                               TBancoFirebird& tessaly);

// The temporary directory of the test helpers, under its short name.
#pragma once

#include "tests/apoio/BancosTeste.h"

using TDiretorioTemporario = apoio::TDiretorioTemporario;

// The program's version, as the package and --version give it.
#pragma once

const char* VersaoDoPrograma();

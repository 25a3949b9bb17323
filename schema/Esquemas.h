// The DDL scripts of schema/*.sql, compiled into the program by name ("almuro", "tessaly").
#pragma once

#include <map>
#include <string>

namespace esquemas {
const std::map<std::string, std::string>& Todos();
}

#pragma once

#include <ostream>

#include "cli/JsonReport.h"

namespace zavuv::cli {

// The device table as tab-separated text: a header line, then one line per record.
void printDeviceTable(std::ostream& out);
// The aliases as tab-separated text: a header line, then each alias with its table name.
void printDeviceAliases(std::ostream& out);
// The same as structured data: one object per record, or per alias.
Json deviceTableJson();
Json deviceAliasesJson();

}  // namespace zavuv::cli

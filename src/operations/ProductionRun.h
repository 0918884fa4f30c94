#pragma once
// One unit of a production run: with a production log the board's identity is
// read first (the log names the board, and a board that does not answer is
// asked nothing more), then the work, then the unit's line in the log.

#include <functional>
#include <string>

#include "operations/ProductionLog.h"
#include "operations/UnitRecord.h"
#include "workspace/Workspace.h"

namespace zavuv::operations {

struct UnitJob {
    std::string port;                        // how the log names the board's port
    std::function<bool()> work;              // true when the unit succeeded
    std::function<std::string()> whyFailed;  // the error text of a failed unit
};

// The unit's record; a line the log did not take is reported to the person and
// makes the unit a failure.
UnitRecord runUnit(workspace::Workspace& ws, const ProductionLog* log, const UnitJob& job);

// Whether the log can be written; when not, says so. Called before any chip is touched.
bool productionLogUsable(const ProductionLog& log, base::UserPort& user);

// The desktop's Auto-program, watched or unattended (then its serial numbers
// are reserved in their files): with the project's production log, checked
// before anything is touched and written after the unit. Returns autoprogramOk.
bool autoProgramLogged(workspace::Workspace& ws, bool unattended);

}  // namespace zavuv::operations

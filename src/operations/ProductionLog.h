#pragma once
// The production log: one CSV line (RFC 4180) per board and run, so that every
// unit a line programs can be traced. Boards in one process and stations on one
// shared file append at once: each line is one write, made under an exclusive
// lock on the log and synced before the lock is let go.

#include <string>
#include <vector>

#include "operations/UnitRecord.h"

namespace zavuv::operations {

// The time now as the log writes it.
std::string utcTimestamp();

// A record as RFC 4180 fields: quoted where a comma, a quote or a line break
// is inside, quotes doubled; the line ends with CR LF.
std::string csvLine(const std::vector<std::string>& fields);

class ProductionLog {
public:
    explicit ProductionLog(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    // Whether lines can be added: the file is created when missing. Empty when
    // it can, else the system's reason. Called before any chip is touched.
    std::string check() const;

    // Adds the record, after the header line when the file is empty. Empty on
    // success, else the system's reason.
    std::string append(const UnitRecord& record) const;

private:
    std::string path_;
};

}  // namespace zavuv::operations

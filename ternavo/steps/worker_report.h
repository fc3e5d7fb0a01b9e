#pragma once
// How the worker, which has no window, tells the window what failed: a small
// shared memory block that the window makes before it starts the worker and
// reads after the worker ended. The worker only writes a fixed number of
// words into it; the window takes from it only well-formed failures. The
// worker often runs as another account (an administrator's password typed by
// a standard user): the block lets Administrators and the window's own user
// write it, and nobody else.
#include <vector>
#include "common/winutil.h"
#include "ternavo/rules/applyplan.h"

class WorkerReport {
public:
    WorkerReport();
    WorkerReport(const WorkerReport&) = delete;
    WorkerReport& operator=(const WorkerReport&) = delete;
    ~WorkerReport();
    // The number the worker gets with "-report"; 0 when no block could be made.
    unsigned long Number() const { return view_ ? number_ : 0; }
    // What the worker left; empty when it left nothing.
    std::vector<apply::Failure> Failures() const;

private:
    unsigned long number_;
    win::Handle mapping_;
    unsigned* view_ = nullptr;
};

// The worker's side: writes the failures into the window's block `number`.
void LeaveReport(unsigned long number, const std::vector<apply::Failure>& failures);

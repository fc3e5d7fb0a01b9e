#include "ternavo/steps/worker.h"
#include "ternavo/steps/apply.h"
#include "ternavo/rules/switches.h"
#include "ternavo/steps/worker_report.h"

int RunWorker(const std::wstring& arguments) {
    startup::WorkerOrder order = startup::ReadWorkerArguments(arguments);
    if (!order.valid) return startup::WorkerExitCode(apply::Outcome::Refused, apply::Refusal::Arguments);
    apply::Report report = RunSteps(order.steps, order.icq7Folder);
    if (order.reportTo != 0) LeaveReport(order.reportTo, report.failures);
    return startup::WorkerExitCode(report.outcome, report.refusal);
}

#include "ternavo/worker.h"
#include "ternavo/apply.h"
#include "ternavo/rules/switches.h"

int RunWorker(const std::wstring& arguments) {
    startup::WorkerOrder order = startup::ReadWorkerArguments(arguments);
    if (!order.valid) return startup::WorkerExitCode(apply::Outcome::Refused);
    return startup::WorkerExitCode(RunSteps(order.steps, order.icq7Folder, true));
}

#include "cli/FileRun.h"

#include "cli/CliSupport.h"
#include "cli/OrderedWork.h"
#include "cli/OutputFolder.h"
#include "system/Made.h"

#include <algorithm>
#include <new>
#include <sched.h>
#include <thread>

int DefaultJobs() {
    cpu_set_t set;
    CPU_ZERO(&set);
    const int cores = ::sched_getaffinity(0, sizeof set, &set) == 0
                          ? CPU_COUNT(&set)
                          : static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores, 1, kMostJobs);
}

namespace {
// A file's command, whatever it raises: a failure of its own ends that file, never the run.
FileReport RunOne(FileCommand command, const FileRun &run, const CliFile &file) {
    FileReport report;
    try {
        command(run, file, report);
    } catch (const ErrorReport &failure) {
        FileFailed(run, file, report, FailureText(failure));
    } catch (const std::bad_alloc &) {
        report = FileReport();
        FileFailed(run, file, report, FailureText(MadeBy([]() -> int { ErrorReport::outOfMemory(); }).failure().value()));
    }
    return report;
}
} // namespace

int RunFiles(const CliRequest &request, const CliStreams &streams, FileCommand command) {
    std::unique_ptr<OutputFolder> output;
    if (request.command == CliCommand::Extract) {
        QString reason;
        output = OutputFolder::Open(request.outputFolder, streams.temporaries, reason);
        if (!output) {
            SayError(streams, reason);
            return CliStatus::Failed;
        }
    }
    const FileRun run{request, output.get(), streams.outIsTerminal};
    FileInputs inputs(request);
    const int threads = !request.ManyFiles() ? 1 : request.jobs > 0 ? request.jobs : DefaultJobs();
    int status = CliStatus::Done;
    RunInOrder<CliFile, FileReport>(
        threads, 4 * static_cast<std::size_t>(threads), [&] { return inputs.Next(); },
        [&](const CliFile &file) { return RunOne(command, run, file); },
        [&](FileReport &&report) {
            if (report.skipped) return true;
            if (!report.err.isEmpty()) streams.err(report.err);
            if (!report.out.isEmpty() && !WriteOutput(streams, report.out)) {
                status = CliStatus::Failed;
                return false;
            }
            status = std::max(status, report.status);
            return !report.endRun;
        });
    return status;
}

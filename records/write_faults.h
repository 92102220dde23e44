// A seam at every step that changes a file on disk: record writes, the journal's writes and
// syncs, renames and removals. Nothing is installed in the programs; the crash tests install
// a hook that fails a chosen step with an errno value or ends the process there.
#pragma once

#include <filesystem>
#include <functional>

namespace vellano::records::faults {

enum class Step { Write, Sync, Rename, Remove };

// Returns 0 to let the step run, or an errno value the step fails with.
using Hook = std::function<int(Step step, const std::filesystem::path& path)>;

// Installs (or, with an empty hook, removes) the hook of this process.
void setHook(Hook hook);

// Called before each step; 0 when no hook is installed.
int before(Step step, const std::filesystem::path& path);

}  // namespace vellano::records::faults

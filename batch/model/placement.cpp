// The path rules of the optimized and the initial copy.
#include "batch/model/placement.h"

namespace qm {

std::string OutputPathOf(const TOptionSet& options, const std::string& source, const std::string& placement)
{
    return WithTrailingSeparator(options.text(Opt::edOptimizedPath)) + placement + NamePart(source);
}

std::string BackupPathOf(const TOptionSet& options, const std::string& source, const std::string& placement)
{
    return WithTrailingSeparator(options.text(Opt::edBackUpPath)) + placement + NamePart(source);
}

std::string OptimizedCopyPath(
    const TOptionSet& options, FileSystem& fs, const std::string& source, const std::string& placement, bool check)
{
    if (!options.flag(Opt::radModifyOld)) return OutputPathOf(options, source, placement);
    if (!check) return source;
    if (fs.exists(source) && fs.exists(BackupPathOf(options, source, placement))) return source;
    return std::string(kDoesNotExist);
}

std::string InitialCopyPath(
    const TOptionSet& options, FileSystem& fs, const std::string& source, const std::string& placement, bool check)
{
    if (!options.flag(Opt::radModifyOld)) return source;
    const std::string backup = BackupPathOf(options, source, placement);
    if (!check) return backup;
    if (fs.exists(source) && fs.exists(backup)) return backup;
    return source;
}

} // namespace qm
